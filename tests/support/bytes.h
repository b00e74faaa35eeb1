#pragma once
// Bytes built for a test, in order: integers in either byte order, text,
// runs of one byte, and chunks that begin with their tag and size.
//
//   const auto bmp = testing_support::Bytes().Text("BM").Le32(70).Le32(0).Le32(54)...;
//   std::vector<unsigned char> v = bmp;  std::string s = bmp.str();
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

class Bytes {
 public:
  Bytes() = default;
  Bytes(std::initializer_list<unsigned char> bytes) : data_(bytes) {}
  Bytes(std::vector<unsigned char> bytes) : data_(std::move(bytes)) {}  // NOLINT: a file's bytes, to build on

  Bytes& U8(unsigned v) { return Put(v, 1, false); }
  Bytes& Le16(std::uint32_t v) { return Put(v, 2, false); }
  Bytes& Le32(std::uint32_t v) { return Put(v, 4, false); }
  Bytes& Be16(std::uint32_t v) { return Put(v, 2, true); }
  Bytes& Be32(std::uint32_t v) { return Put(v, 4, true); }
  Bytes& Text(const std::string& text) { return Add(text.begin(), text.end()); }
  Bytes& Fill(std::size_t count, unsigned char byte) { return data_.insert(data_.end(), count, byte), *this; }
  Bytes& Add(const Bytes& more) { return Add(more.data_.begin(), more.data_.end()); }
  friend Bytes operator+(Bytes first, const Bytes& then) { return first.Add(then); }
  // A tag of four letters, the body's size (big-endian as in MIDI and PNG,
  // little-endian as in RIFF), then the body.
  Bytes& BeChunk(const std::string& tag, const Bytes& body) { return Text(tag).Be32(body.size()).Add(body); }
  Bytes& LeChunk(const std::string& tag, const Bytes& body) { return Text(tag).Le32(body.size()).Add(body); }

  std::size_t size() const { return data_.size(); }
  unsigned char& operator[](std::size_t at) { return data_[at]; }
  const std::vector<unsigned char>& vec() const { return data_; }
  operator const std::vector<unsigned char>&() const { return data_; }
  std::string str() const { return {data_.begin(), data_.end()}; }

 private:
  Bytes& Put(std::uint32_t v, int n, bool big) {
    for (int k = 0; k < n; ++k) data_.push_back(static_cast<unsigned char>(v >> (8 * (big ? n - 1 - k : k))));
    return *this;
  }
  template <typename It>
  Bytes& Add(It from, It to) {
    data_.insert(data_.end(), from, to);
    return *this;
  }
  std::vector<unsigned char> data_;
};

}  // namespace testing_support
