// Text-file helpers that write a file: line-end repair and appending.
#include <string>
#include <string_view>

#include "file_blocks.h"
#include "qorkit/filesys/text_file_tools.h"
#include "qorkit/rtl/atomic_save.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/untyped_file.h"

namespace qorkit {

namespace {

// Gathers output bytes and writes them to `F` in large blocks.
class BlockWriter {
  public:
    explicit BlockWriter(TUntypedFile& F) : FFile(F) { FBuf.reserve(detail::kFileBlock + 2); }
    void Put(std::string_view s) {
        FBuf.append(s);
        if (static_cast<std::int64_t>(FBuf.size()) >= detail::kFileBlock) Flush();
    }
    void Put(char c) { FBuf.push_back(c); }
    void Flush() {
        FFile.BlockWrite(FBuf.data(), static_cast<std::int64_t>(FBuf.size()));
        FBuf.clear();
    }

  private:
    TUntypedFile& FFile;
    std::string FBuf;
};

// Writes the bytes of `Source` to `Dest`; a missing `Source` writes nothing, other failures
// raise.
void CopyIfExists(const String& Source, TUntypedFile& Dest) {
    try {
        BlockWriter out(Dest);
        detail::ForEachFileBlock(Source, [&](std::string_view b) { out.Put(b); });
        out.Flush();
    } catch (const EInOutError& e) {
        if (e.ErrorCode() != 2) throw;
    }
}

template <class WriteLines>
void AppendLines(const String& FileName, WriteLines&& writeLines) {
    SaveFileAtomically(FileName, [&](const String& TempName) {
        {
            TUntypedFile copy;
            copy.Assign(TempName);
            copy.Rewrite();
            CopyIfExists(FileName, copy);
            copy.Close();
        }
        TextFile t;
        t.Assign(TempName);
        t.Append();
        writeLines(t);
        t.Close();
    });
}

}  // namespace

void EnsureCRLFInFile(const String& InFile, const String& OutFile) {
    SaveFileAtomically(OutFile, [&](const String& TempName) {
        TUntypedFile f;
        f.Assign(TempName);
        f.Rewrite();
        BlockWriter out(f);
        bool pendingCR = false;  // the last byte seen was a CR
        detail::ForEachFileBlock(InFile, [&](std::string_view b) {
            if (pendingCR && b.front() != '\n') out.Put('\n');
            std::size_t from = 0;
            for (std::size_t cr = b.find('\r'); cr != std::string_view::npos;
                 cr = b.find('\r', cr + 1)) {
                if (cr + 1 < b.size() && b[cr + 1] != '\n') {
                    out.Put(b.substr(from, cr + 1 - from));
                    out.Put('\n');
                    from = cr + 1;
                }
            }
            out.Put(b.substr(from));
            pendingCR = b.back() == '\r';
        });
        if (pendingCR) out.Put('\n');
        out.Flush();
        f.Close();
    });
}

void AppendToTextFile(const String& FileName, const String& S) {
    AppendLines(FileName, [&](TextFile& t) { t.WriteLn(S); });
}

void AppendToTextFile(const String& FileName, const TStringList& SL) {
    AppendLines(FileName, [&](TextFile& t) {
        for (std::int32_t i = 0; i < SL.Count(); ++i)
            t.WriteLn(SL.Strings(i));
    });
}

}  // namespace qorkit
