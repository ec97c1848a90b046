// Tour section: the platform layer underneath the library.
#include "command.h"
#include "qorkit/rtl/datetime.h"
#include "qorkit/rtl/memory_stream.h"
#include "qorkit/rtl/random.h"
#include "qorkit/rtl/string_list.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/rtl/variant.h"

namespace qorkit::tool {

namespace {

void ShowRtl(std::ostream& out) {
    TStringList list;
    list.SetText(u"pear\r\nApple\r\nbanana\r\n");
    list.Sort();
    out << "TStringList sorted without regard to case:";
    for (std::int32_t i = 0; i < list.Count(); ++i)
        out << " " << ToUtf8(list.Strings(i));
    out << "\n";

    TStringStream stream(u"Gr\u00FC\u00DFe");
    out << "TStringStream holds " << stream.Size()
        << " bytes of Windows-1252 text: " << ToUtf8(stream.DataString()) << "\n";

    Variant grid = VarArrayCreate({1, 2, 0, 1}, varDouble);
    grid.PutElement({2, 1}, Variant(2.5));
    out << "Variant array [1..2, 0..1] of Double, element (2,1) = "
        << ToUtf8(grid.GetElement({2, 1}).AsString()) << "\n";

    out << "Number texts: StrFixed(3.14159, 8, 3) = '" << ToUtf8(StrFixed(3.14159L, 8, 3))
        << "', StrExpo(1234.56, 12) = '" << ToUtf8(StrExpo(1234.56L, 12))
        << "', FloatToStr(1e20) = " << ToUtf8(FloatToStr(1e20L)) << "\n";

    const TDateTime moon = EncodeDate(1969, 7, 20) + EncodeTime(20, 17, 40, 0);
    out << "FormatDateTime: " << ToUtf8(FormatDateTime(u"dddd d mmmm yyyy 'at' hh:nn:ss", moon))
        << "\n";

    RandSeed = 6071;
    out << "Random after RandSeed := 6071:";
    for (int i = 0; i < 5; ++i)
        out << " " << Random(100);
    out << "\n";
}

const RegisterTourSection kSection({15, "Platform layer", ShowRtl});

}  // namespace

}  // namespace qorkit::tool
