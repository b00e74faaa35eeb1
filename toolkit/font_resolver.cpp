#include "toolkit/font_resolver.h"

#include <fontconfig/fontconfig.h>

#include <cmath>
#include <memory>
#include <vector>

namespace tk {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// Faces of the original platform and the families that stand in for them,
// most faithful first; fontconfig's own rules come after these.
std::vector<std::string> Families(const std::string& face) {
  std::vector<std::string> out{face};
  if (face == "ＭＳ ゴシック" || face == "MS Gothic" || face == "ＭＳ Ｐゴシック") {
    out.insert(out.end(), {"MS Gothic", "IPAGothic", "VL Gothic", "Noto Sans Mono CJK JP"});
  } else if (face == "MS Sans Serif") {
    // The original is a bitmap face, narrower than Arial at display sizes;
    // the windows' labels are sized for it.
    out.insert(out.end(), {"Liberation Sans Narrow", "Nimbus Sans Narrow", "Arial Narrow", "Liberation Sans"});
  }
  return out;
}

const char* LanguageOf(int charset) {
  switch (charset) {
    case 128: return "ja";
    case 129: return "ko";
    case 134: return "zh-cn";
    case 136: return "zh-tw";
    default: return "en";
  }
}

}  // namespace

int PointsToPixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

ResolvedFont ResolveFont(const FontSpec& font) {
  ResolvedFont out;
  out.pixel_size = PointsToPixels(font.points);
  PatternPtr pattern(FcPatternCreate());
  for (const auto& family : Families(font.face))
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcLangSet* langs = FcLangSetCreate();
  FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>(LanguageOf(font.charset)));
  FcPatternAddLangSet(pattern.get(), FC_LANG, langs);
  FcLangSetDestroy(langs);
  const int weight = FcWeightFromOpenType(font.weight);
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, weight);
  FcPatternAddInteger(pattern.get(), FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddDouble(pattern.get(), FC_PIXEL_SIZE, out.pixel_size);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());

  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
  if (!match) return out;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match.get(), FC_FILE, 0, &file) == FcResultMatch) out.file = reinterpret_cast<char*>(file);
  int index = 0, found_weight = FC_WEIGHT_REGULAR, found_slant = FC_SLANT_ROMAN;
  if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
  FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &found_weight);
  FcPatternGetInteger(match.get(), FC_SLANT, 0, &found_slant);
  // fontconfig's own rules may promise a bold or slanted face that the file
  // does not have (FC_EMBOLDEN, FC_MATRIX); FreeType is then asked to draw it.
  FcBool embolden = FcFalse;
  FcPatternGetBool(match.get(), FC_EMBOLDEN, 0, &embolden);
  FcMatrix* matrix = nullptr;
  const bool slanted_by_matrix = FcPatternGetMatrix(match.get(), FC_MATRIX, 0, &matrix) == FcResultMatch;
  out.synthetic_bold = weight >= FC_WEIGHT_DEMIBOLD && (found_weight < FC_WEIGHT_DEMIBOLD || embolden);
  out.synthetic_italic = font.italic && (found_slant == FC_SLANT_ROMAN || slanted_by_matrix);
  return out;
}

}  // namespace tk
