#include "demo/artwork.h"

#include <array>
#include <map>
#include <span>
#include <string>

#include "demo/speakers.h"
#include "toolkit/picture_loader.h"

namespace assets {
extern const std::span<const unsigned char> portrait1_ico, portrait2_ico, portrait3_ico, portrait4_ico,
    portrait5_ico, portrait6_ico, portrait7_ico, portrait8_ico, page_turn_ico, flying_bmp, landing_bmp,
    wings_up_bmp, intro_ico;
}

namespace artwork {
namespace {

// Decodes a built-in picture the first time it is asked for.
pic::Picture Decoded(std::span<const unsigned char> bytes, const std::string& name) {
  static std::map<std::string, pic::Picture> pictures;
  pic::Picture& p = pictures[name];
  if (!p) p = tk::DecodeBuiltInPicture(bytes, name);
  return p;
}

}  // namespace

pic::Picture Portrait(int k) {
  static const std::array<std::span<const unsigned char>, kLastSpeaker> files{
      assets::portrait1_ico, assets::portrait2_ico, assets::portrait3_ico, assets::portrait4_ico,
      assets::portrait5_ico, assets::portrait6_ico, assets::portrait7_ico, assets::portrait8_ico};
  if (k < 1 || k > kLastSpeaker) return nullptr;
  return Decoded(files[k - 1], "portrait" + std::to_string(k) + ".ico");
}

pic::Picture PageTurn() { return Decoded(assets::page_turn_ico, "page_turn.ico"); }
pic::Picture Flying() { return Decoded(assets::flying_bmp, "flying.bmp"); }
pic::Picture Landing() { return Decoded(assets::landing_bmp, "landing.bmp"); }
pic::Picture WingsUp() { return Decoded(assets::wings_up_bmp, "wings_up.bmp"); }
pic::Picture IntroIcon() { return Decoded(assets::intro_ico, "intro.ico"); }

}  // namespace artwork
