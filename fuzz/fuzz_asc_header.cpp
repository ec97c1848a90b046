// Reads arbitrary bytes as an ASC header through a memory stream and a forward-only stream
// (which must agree on every field and on the position), checks that the status is one of
// the defined codes, that an input without CR reads the same once its LFs become CR LF, and
// classifies the first bytes as a text file type.
#include <cstdlib>
#include <string>

#include "fuzz_stream_common.h"
#include "qorkit/filesys/asc_header.h"
#include "qorkit/filesys/text_file_type.h"
#include "qorkit/rtl/memory_stream.h"

namespace {

struct Header {
    std::int32_t Status = 0;
    qorkit::String Title;
    std::int32_t C1 = 0, C2 = 0;
    bool F[4] = {false, false, false, true};
    bool operator==(const Header&) const = default;
};

template <class S>
Header Read(S& s) {
    Header h;
    h.Status = qorkit::ReadHeaderOfASC(s, h.Title, h.C1, h.C2, h.F[0], h.F[1], h.F[2], h.F[3]);
    return h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorkit;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TStringStream mem{std::string(bytes)};
    fuzz::ForwardStream fwd(data, size);
    const Header a = Read(mem);
    const Header b = Read(fwd);
    if (!(a == b) || mem.Position() != fwd.Position()) std::abort();
    if (a.Status > 0 || a.Status < -3 || mem.Position() > static_cast<std::int64_t>(size))
        std::abort();

    if (bytes.find('\r') == std::string::npos) {
        std::string crlf;
        for (const char c : bytes) {
            if (c == '\n') crlf += '\r';
            crlf += c;
        }
        TStringStream converted{std::move(crlf)};
        if (!(Read(converted) == a)) std::abort();
    }

    const TTextfileType t = TextTypeOfHead({data, size});
    if (t > tftUnknown) std::abort();
    return 0;
}
