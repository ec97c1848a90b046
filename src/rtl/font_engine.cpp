#include "font_engine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_FONT_FORMATS_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <tuple>

namespace qorkit::detail {

namespace {

struct Face {
    FT_Face Handle = nullptr;
    bool SynthBold = false;
    bool SynthItalic = false;
    bool SizeSet = false;
};

// A glyph at one pixel size: its advance and, once rendered, its monochrome bitmap.
struct Glyph {
    std::int64_t Advance = 0;
    bool Rendered = false;
    std::int64_t Left = 0, Top = 0;
    unsigned Width = 0, Rows = 0;
    int Pitch = 0;
    std::vector<unsigned char> Bits;
};

// The engine: FreeType library, fontconfig configuration and the faces opened so far. Kept
// for the life of the process (faces are small and few).
class Engine {
  public:
    static Engine& Instance() {
        static Engine engine;
        return engine;
    }
    std::mutex Lock;

    FcConfig* Config() {
        if (!FConfig) FConfig = FcInitLoadConfigAndFonts();
        return FConfig;
    }

    // Glyphs and metrics already computed, by face, pixel size and code point. Cleared when
    // it grows large, so memory stays bounded whatever is drawn.
    std::map<std::tuple<FT_Face, FT_UInt, char32_t>, Glyph> Glyphs;
    std::map<std::pair<FT_Face, FT_UInt>, FontMetrics> Metrics;
    void Trim() {
        if (Glyphs.size() > 8192) Glyphs.clear();
        if (Metrics.size() > 256) Metrics.clear();
    }

    // The face for `font` at its pixel height; raises when none can be loaded.
    Face& Open(const TFont& font) {
        const std::string name = ToUtf8(font.Name());
        const bool bold = font.Style().Contains(fsBold);
        const bool italic = font.Style().Contains(fsItalic);
        const auto key = std::make_tuple(name, bold, italic);
        auto it = FFaces.find(key);
        if (it == FFaces.end()) it = FFaces.emplace(key, Load(name, bold, italic)).first;
        Face& face = it->second;
        const auto em = static_cast<FT_UInt>(EmPixels(font, face.Handle));
        if (face.Handle->size->metrics.y_ppem != em || !face.SizeSet) {
            FT_Set_Pixel_Sizes(face.Handle, 0, em);
            face.SizeSet = true;
        }
        return face;
    }

  private:
    Engine() = default;

    static std::int64_t EmPixels(const TFont& font, FT_Face face) {
        std::int64_t h = font.Height();
        if (h == 0) h = -11;
        if (h < 0) return -h;
        // A positive height is the cell height: ascent plus descent.
        if (!FT_IS_SCALABLE(face) || face->ascender - face->descender <= 0) return h;
        const std::int64_t cell = face->ascender - face->descender;
        return std::max<std::int64_t>(1, (h * face->units_per_EM + cell / 2) / cell);
    }

    Face Load(const std::string& name, bool bold, bool italic) {
        if (!FLibrary && FT_Init_FreeType(&FLibrary) != 0) {
            FLibrary = nullptr;
            throw EInvalidGraphicOperation("Cannot start the FreeType font engine");
        }
        FcConfig* config = Config();
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = config ? FcFontMatch(config, pattern, &result) : nullptr;
        FcPatternDestroy(pattern);
        FcChar8* file = nullptr;
        int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        Face face;
        if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
            FcPatternGetInteger(match, FC_SLANT, 0, &slant);
            if (FT_New_Face(FLibrary, reinterpret_cast<const char*>(file), index, &face.Handle) !=
                0)
                face.Handle = nullptr;
        }
        if (match) FcPatternDestroy(match);
        if (!face.Handle)
            throw EInvalidGraphicOperation("Font \"" + name + "\" cannot be loaded: no font file");
        FT_Select_Charmap(face.Handle, FT_ENCODING_UNICODE);
        face.SynthBold = bold && weight < FC_WEIGHT_DEMIBOLD;
        face.SynthItalic = italic && slant == FC_SLANT_ROMAN;
        return face;
    }

    FT_Library FLibrary = nullptr;
    FcConfig* FConfig = nullptr;
    std::map<std::tuple<std::string, bool, bool>, Face> FFaces;
};

std::int64_t Round26_6(FT_Pos v) {
    return static_cast<std::int64_t>(v >= 0 ? (v + 32) >> 6 : -((-v + 32) >> 6));
}

// Decodes UTF-16 code units to code points; an unpaired surrogate becomes U+FFFD.
template <class F>
void ForEachCodePoint(std::u16string_view text, F&& f) {
    for (std::size_t k = 0; k < text.size(); ++k) {
        char32_t c = text[k];
        if (c >= 0xD800 && c <= 0xDBFF && k + 1 < text.size() && text[k + 1] >= 0xDC00 &&
            text[k + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[k + 1] - 0xDC00);
            ++k;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        f(c);
    }
}

// Loads the glyph of `c` into the face's slot with monochrome hinting and the synthetic
// styles; false when the glyph cannot be loaded.
bool LoadGlyph(Face& face, char32_t c) {
    const FT_UInt index = FT_Get_Char_Index(face.Handle, c);
    if (FT_Load_Glyph(face.Handle, index, FT_LOAD_TARGET_MONO) != 0) return false;
    if (face.SynthBold) FT_GlyphSlot_Embolden(face.Handle->glyph);
    if (face.SynthItalic) FT_GlyphSlot_Oblique(face.Handle->glyph);
    return true;
}

// The cached glyph of `c` at the face's current size, rendered when `render` is set.
const Glyph& GetGlyph(Engine& engine, Face& face, char32_t c, bool render) {
    const auto key = std::make_tuple(face.Handle, face.Handle->size->metrics.y_ppem, c);
    auto it = engine.Glyphs.find(key);
    if (it != engine.Glyphs.end() && (it->second.Rendered || !render)) return it->second;
    engine.Trim();
    Glyph g;
    if (LoadGlyph(face, c)) {
        const FT_GlyphSlot slot = face.Handle->glyph;
        g.Advance = Round26_6(slot->advance.x);
        if (render && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0 &&
            slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            const FT_Bitmap& bm = slot->bitmap;
            g.Left = slot->bitmap_left;
            g.Top = slot->bitmap_top;
            g.Width = bm.width;
            g.Rows = bm.rows;
            g.Pitch = bm.pitch < 0 ? -bm.pitch : bm.pitch;
            for (unsigned r = 0; r < bm.rows; ++r) {
                const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(r) * bm.pitch;
                g.Bits.insert(g.Bits.end(), row, row + g.Pitch);
            }
        }
    }
    g.Rendered = render;
    return engine.Glyphs.insert_or_assign(key, std::move(g)).first->second;
}

}  // namespace

FontMetrics MeasureFont(const TFont& font) {
    Engine& engine = Engine::Instance();
    const std::lock_guard<std::mutex> guard(engine.Lock);
    Face& face = engine.Open(font);
    const FT_Face f = face.Handle;
    const auto key = std::make_pair(f, f->size->metrics.y_ppem);
    if (const auto it = engine.Metrics.find(key); it != engine.Metrics.end()) return it->second;
    FontMetrics m;
    m.Ascent = Round26_6(f->size->metrics.ascender);
    m.Descent = -Round26_6(f->size->metrics.descender);
    m.EmHeight = f->size->metrics.y_ppem;
    m.Scalable = FT_IS_SCALABLE(f);
    m.FixedPitch = FT_IS_FIXED_WIDTH(f);
    const char* format = FT_Get_Font_Format(f);
    m.TrueType = format && std::strcmp(format, "TrueType") == 0;
    m.AveCharWidth = GetGlyph(engine, face, U'x', false).Advance;
    const FT_Fixed scale = f->size->metrics.y_scale;
    if (m.Scalable) {
        m.BarThickness =
            std::max<std::int64_t>(1, Round26_6(FT_MulFix(f->underline_thickness, scale)));
        m.UnderlinePosition = Round26_6(FT_MulFix(f->underline_position, scale));
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
        m.StrikeOutPosition = os2 && os2->yStrikeoutPosition > 0
                                  ? Round26_6(FT_MulFix(os2->yStrikeoutPosition, scale))
                                  : m.Ascent / 3;
    } else {
        m.UnderlinePosition = -1;
        m.StrikeOutPosition = m.Ascent / 3;
    }
    engine.Trim();
    engine.Metrics[key] = m;
    return m;
}

std::int64_t MeasureText(const TFont& font, std::u16string_view text) {
    Engine& engine = Engine::Instance();
    const std::lock_guard<std::mutex> guard(engine.Lock);
    Face& face = engine.Open(font);
    std::int64_t width = 0;
    ForEachCodePoint(text, [&](char32_t c) { width += GetGlyph(engine, face, c, false).Advance; });
    return width;
}

void RenderText(const TFont& font, std::u16string_view text, std::int64_t x, std::int64_t baseline,
                std::int64_t visibleLeft, std::int64_t visibleRight,
                const std::function<void(std::int64_t, std::int64_t, std::int64_t)>& span) {
    Engine& engine = Engine::Instance();
    const std::lock_guard<std::mutex> guard(engine.Lock);
    Face& face = engine.Open(font);
    const std::int64_t em = face.Handle->size->metrics.y_ppem;
    ForEachCodePoint(text, [&](char32_t c) {
        const std::int64_t advance = GetGlyph(engine, face, c, false).Advance;
        // A glyph's ink lies within an em or so of its origin.
        if (x + advance + 2 * em >= visibleLeft && x - 2 * em <= visibleRight) {
            const Glyph& g = GetGlyph(engine, face, c, true);
            const std::int64_t left = x + g.Left, top = baseline - g.Top;
            for (unsigned r = 0; r < g.Rows; ++r) {
                const unsigned char* bits = g.Bits.data() + static_cast<std::size_t>(r) * g.Pitch;
                const auto on = [&](unsigned k) { return (bits[k >> 3] >> (7 - (k & 7))) & 1; };
                unsigned col = 0;
                while (col < g.Width) {
                    if (!on(col)) {
                        ++col;
                        continue;
                    }
                    const unsigned start = col;
                    while (col < g.Width && on(col))
                        ++col;
                    span(top + r, left + start, left + col - 1);
                }
            }
        }
        x += advance;
    });
}

std::vector<std::string> InstalledFamilies() {
    Engine& engine = Engine::Instance();
    const std::lock_guard<std::mutex> guard(engine.Lock);
    std::vector<std::string> names;
    FcConfig* config = engine.Config();
    if (!config) return names;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr));
    FcFontSet* set = FcFontList(config, pattern, objects);
    if (set) {
        for (int k = 0; k < set->nfont; ++k) {
            FcChar8* family = nullptr;
            if (FcPatternGetString(set->fonts[k], FC_FAMILY, 0, &family) == FcResultMatch)
                names.emplace_back(reinterpret_cast<const char*>(family));
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return names;
}

}  // namespace qorkit::detail
