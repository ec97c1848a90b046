// Tour section: bit fields, byte matrices, byte queues and counted strings.
#include <string>

#include "command.h"
#include "qorkit/Qor_dstruct.h"
#include "qorkit/rtl/random.h"

namespace qorkit::tool {

namespace {

std::string Bits(const TBitFld& f) {
    std::string s;
    for (std::int32_t i = 0; i <= f.Size(); ++i)
        s += f.GetBit(i) ? '1' : '0';
    return s;
}

void ShowContainers(std::ostream& out) {
    TBitFld f;
    f.SetSize(31);
    RandSeed = 2026;
    f.RandomFill(25.0);
    out << "TBitFld of Size 31 (32 bits), RandomFill(25.0) with RandSeed 2026:\n  " << Bits(f)
        << "  CountTrueBits " << f.CountTrueBits() << ", FirstTrueBit " << f.FirstTrueBit() << "\n";
    TBitFld mask;
    mask.SetSize(31);
    for (std::int32_t i = 0; i < 16; ++i)
        mask.SetBit(i, true);
    f.CombineWith(&mask, loANDNot);
    out << "  CombineWith(bits 0..15, loANDNot): " << Bits(f) << " (" << BitCountImplementation()
        << " population count)\n";

    TByteMatrix m;
    m.Resize(3, 2);
    for (std::int32_t c = 1; c <= 3; ++c)
        for (std::int32_t r = 1; r <= 2; ++r)
            m.SetByte(c, r, static_cast<std::uint8_t>(10 * c + r));
    int changes = 0;
    m.SetOnChange([&](TObject*) { ++changes; });
    m.MirrorColumns();
    m.SetDefaultValue(8);
    out << "TByteMatrix 3 x 2 after MirrorColumns: row 1 = " << int{m.GetByte(1, 1)} << " "
        << int{m.GetByte(2, 1)} << " " << int{m.GetByte(3, 1)}
        << ", cell (9, 9) reads DefaultValue " << int{m.GetByte(9, 9)} << ", OnChange sent "
        << changes << " time(s)\n";

    TFifo q;
    q.SetSize(4);
    for (std::uint8_t b = 1; b <= 4; ++b)
        q.ForceByte(b);
    std::uint8_t b = 0;
    q.GetByte(b);
    out << "TFifo of Size 4 (holds 3): ForceByte 1..4 dropped the oldest, GetByte took " << int{b}
        << ", LoadBack(9) put a byte back; now GetByte gives";
    q.LoadBack(9);
    while (q.GetByte(b))
        out << " " << int{b};
    out << "\n";

    TStringAccu a;
    for (const char16_t* s : {u"red", u"Red", u"red", u"blue", u"red"})
        a.Add(s);
    out << "TStringAccu of red Red red blue red:";
    for (std::int32_t i = 1; i <= a.Size(); ++i)
        out << " " << ToUtf8(a.Elem(i)) << " x" << a.Count(i);
    out << "\n";
}

const RegisterTourSection kSection({71, "Bit fields, byte matrices, queues and counted strings",
                                    ShowContainers});

}  // namespace

}  // namespace qorkit::tool
