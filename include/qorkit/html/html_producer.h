// THtmlProducer: fills HTML templates whose "<#name parameters>" tags the program replaces.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include "qorkit/rtl/memory_stream.h"
#include "qorkit/rtl/objects.h"
#include "qorkit/rtl/stream.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// The handler of a template tag: `TagName` is the tag's name lower-cased (A to Z), `Params`
/// the text after it, trimmed of blanks; `Replacement` holds the whole tag text on entry and
/// is what `Convert` writes in the tag's place.
using TOnHTMLTagEvent = std::function<void(TObject* Sender, const String& TagName,
                                           const String& Params, String& Replacement)>;

/// Fills an HTML template. The template is ordinary HTML in which "<#" opens a template tag
/// that runs to the next ">" (or to the end of the template when none follows). The tag's name
/// is the text after "<#" up to the first blank or the ">"; the parameters are the rest up to
/// the ">". There is no nesting and no quoting: the first ">" ends the tag even inside quotes.
/// Every other character, a "<" not followed by "#" included, is copied unchanged.
///
/// Example: with the template "<p><#date></p>" and a handler that sets the replacement to
/// "1 May" for the name "date", `Convert` gives "<p>1 May</p>".
///
/// Ownership: a producer created with an owner is destroyed by it. The stream handed out by
/// `ConvertedHTMLAsStream` belongs to the producer.
class THtmlProducer : public TComponent {
  public:
    /// An empty template and result, no handler, no stream.
    explicit THtmlProducer(TComponent* AOwner = nullptr);
    ~THtmlProducer() override;

    /// The template text.
    const String& Template() const noexcept { return FTemplate; }
    /// Replaces the template; the last result stays until the next `Convert`.
    void SetTemplate(const String& s);
    /// The result of the last `Convert` (empty before the first).
    const String& ConvertedHTML() const noexcept { return FConvertedHTML; }
    /// The tag handler; may be empty, then every tag stays in the output as it is.
    const TOnHTMLTagEvent& OnHTMLTag() const noexcept { return FOnHTMLTag; }
    /// Sets the tag handler (an empty function removes it).
    void SetOnHTMLTag(TOnHTMLTagEvent Value) { FOnHTMLTag = std::move(Value); }
    /// The scan position of the conversion (1-based): while the handler runs, the position of
    /// the tag's "<" in the template; after a conversion the template length; 0 before.
    std::int32_t ScanPosition() const noexcept { return FSPos; }

    /// Reads the template from the text file `FName` (Windows-1252): each line followed by CR
    /// LF, so the template always ends with a line break. Raises `EInOutError` naming the file;
    /// the template is then left as it was.
    void ReadTemplateFromFile(const String& FName);
    /// Takes the whole content of `InStream` as the template, read from position 0 as UTF-16
    /// little-endian text (`StreamAsString`). Stream errors pass unchanged and leave the
    /// template as it was.
    void ReadTemplateFromStream(TStream& InStream);

    /// Copies the template into `ConvertedHTML`, replacing every template tag by what the
    /// handler leaves in its `Replacement`, and returns the result. The handler is called once
    /// per tag, in template order, with this producer as `Sender`. The conversion works on a
    /// copy of the template and publishes its result only at the end: a handler may read or
    /// change the template, or convert again, without disturbing the running conversion, and
    /// when the handler raises, the exception passes and `ConvertedHTML` keeps its old value.
    const String& Convert();

    /// A string stream holding `ConvertedHTML` in Windows-1252 (characters outside it become
    /// "?"), positioned at 0. The producer owns the stream: do not free it. It stays valid
    /// until the next call of this function, which frees it, or the producer's destruction.
    TStringStream* ConvertedHTMLAsStream();

    /// Creates or replaces the text file `FName` with `ConvertedHTML` as it is (Windows-1252,
    /// no line break added). The text goes to a temporary sibling that is renamed over `FName`
    /// at the end, so a failure leaves an existing file as it was. Raises `EInOutError`
    /// naming the file.
    void WriteConvertedHTMLToFile(const String& FName) const;

  private:
    String FTemplate;
    TOnHTMLTagEvent FOnHTMLTag;
    std::int32_t FSPos = 0;
    String FConvertedHTML;
    std::unique_ptr<TStringStream> FStrStream;
};

}  // namespace qorkit
