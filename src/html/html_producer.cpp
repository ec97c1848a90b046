// THtmlProducer: template filling, reading templates and handing out the result.
#include "qorkit/html/html_producer.h"

#include <cstdint>
#include <utility>

#include "../core/tag_reader_core.h"
#include "qorkit/rtl/atomic_save.h"
#include "qorkit/rtl/text_file.h"
#include "qorkit/streams/stream_text.h"

namespace qorkit {

namespace {

// Positions are 32-bit; a template beyond that range reports the largest one.
std::int32_t Position32(std::size_t p) noexcept {
    return p > static_cast<std::size_t>(INT32_MAX) ? INT32_MAX : static_cast<std::int32_t>(p);
}

}  // namespace

THtmlProducer::THtmlProducer(TComponent* AOwner) : TComponent(AOwner) {}

THtmlProducer::~THtmlProducer() = default;

void THtmlProducer::SetTemplate(const String& s) {
    FTemplate = s;
}

void THtmlProducer::ReadTemplateFromFile(const String& FName) {
    TextFile F;  // closed by its destructor when reading raises
    F.Assign(FName);
    F.Reset();
    String text;
    while (!F.Eof()) {
        text += F.ReadLn();
        text += u"\r\n";
    }
    F.Close();
    FTemplate = std::move(text);
}

void THtmlProducer::ReadTemplateFromStream(TStream& InStream) {
    InStream.SetPosition(0);
    FTemplate = StreamAsString(InStream);
}

const String& THtmlProducer::Convert() {
    const String tpl = FTemplate;  // the handler may change the template
    const std::u16string_view t(tpl);
    const std::size_t L = t.size();
    String out;
    out.reserve(L);
    std::size_t i = 0;  // 0-based scan position
    while (i < L) {
        // Everything up to a "<" directly followed by "#" is copied as it is.
        std::size_t lt = t.find(u'<', i);
        while (lt != std::u16string_view::npos && (lt + 1 >= L || t[lt + 1] != u'#'))
            lt = t.find(u'<', lt + 1);
        if (lt == std::u16string_view::npos) {
            out.append(t.substr(i));
            break;
        }
        out.append(t.substr(i, lt - i));
        const std::size_t gt = t.find(u'>', lt + 2);
        const std::size_t end = gt == std::u16string_view::npos ? L : gt + 1;  // past the tag
        const std::size_t innerEnd = gt == std::u16string_view::npos ? L : gt;
        const std::u16string_view inner = t.substr(lt + 2, innerEnd - (lt + 2));
        String replacement(t.substr(lt, end - lt));
        if (FOnHTMLTag) {
            const std::size_t blank = inner.find(u' ');
            String name(inner.substr(0, blank));
            for (Char& c : name)
                c = detail::LowerAZ(c);
            const String params = blank == std::u16string_view::npos
                                      ? String()
                                      : detail::TrimBlanks(inner.substr(blank + 1));
            FSPos = Position32(lt + 1);
            FOnHTMLTag(this, name, params, replacement);
        }
        out += replacement;
        i = end;
    }
    FSPos = Position32(L);
    FConvertedHTML = std::move(out);
    return FConvertedHTML;
}

TStringStream* THtmlProducer::ConvertedHTMLAsStream() {
    FStrStream.reset();
    FStrStream = std::make_unique<TStringStream>(FConvertedHTML);
    FStrStream->SetPosition(0);
    return FStrStream.get();
}

void THtmlProducer::WriteConvertedHTMLToFile(const String& FName) const {
    SaveTextFileAtomically(FName, [this](TextFile& F) { F.Write(FConvertedHTML); });
}

}  // namespace qorkit
