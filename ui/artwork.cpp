#include "artwork.h"

#include <array>
#include <span>

#include "picture_loader.h"

namespace assets {
extern const std::span<const unsigned char> portrait1_ico, portrait2_ico, portrait3_ico, portrait4_ico,
    portrait5_ico, portrait6_ico, portrait7_ico, portrait8_ico, page_turn_ico, flying_bmp, landing_bmp,
    wings_up_bmp, intro_ico;
}

namespace artwork {

tk::Picture Portrait(int k) {
  static const std::array<std::span<const unsigned char>, 8> files{
      assets::portrait1_ico, assets::portrait2_ico, assets::portrait3_ico, assets::portrait4_ico,
      assets::portrait5_ico, assets::portrait6_ico, assets::portrait7_ico, assets::portrait8_ico};
  static std::array<tk::Picture, 8> pictures;
  if (k < 1 || k > 8) return nullptr;
  auto& p = pictures[k - 1];
  if (!p) p = tk::DecodePicture(files[k - 1], "portrait" + std::to_string(k) + ".ico");
  return p;
}

tk::Picture PageTurn() {
  static tk::Picture p = tk::DecodePicture(assets::page_turn_ico, "page_turn.ico");
  return p;
}

tk::Picture Flying() {
  static tk::Picture p = tk::DecodePicture(assets::flying_bmp, "flying.bmp");
  return p;
}

tk::Picture Landing() {
  static tk::Picture p = tk::DecodePicture(assets::landing_bmp, "landing.bmp");
  return p;
}

tk::Picture WingsUp() {
  static tk::Picture p = tk::DecodePicture(assets::wings_up_bmp, "wings_up.bmp");
  return p;
}

tk::Picture IntroIcon() {
  static tk::Picture p = tk::DecodePicture(assets::intro_ico, "intro.ico");
  return p;
}

}  // namespace artwork
