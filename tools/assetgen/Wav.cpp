#include "Wav.h"

#include <cstring>

namespace assetgen {

namespace {
void put32(std::vector<unsigned char>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<unsigned char>(x >> (8 * i)));
}
void put16(std::vector<unsigned char>& v, uint16_t x) {
  v.push_back(static_cast<unsigned char>(x));
  v.push_back(static_cast<unsigned char>(x >> 8));
}
void tag(std::vector<unsigned char>& v, const char* t) { v.insert(v.end(), t, t + 4); }
}  // namespace

std::vector<unsigned char> encodeWav(const std::vector<int16_t>& samples) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<unsigned char> v;
  v.reserve(44 + dataBytes);
  tag(v, "RIFF");
  put32(v, 36 + dataBytes);
  tag(v, "WAVE");
  tag(v, "fmt ");
  put32(v, 16);
  put16(v, 1);  // PCM
  put16(v, 1);  // mono
  put32(v, SampleRate);
  put32(v, SampleRate * 2);
  put16(v, 2);
  put16(v, 16);
  tag(v, "data");
  put32(v, dataBytes);
  for (int16_t s : samples) put16(v, static_cast<uint16_t>(s));
  return v;
}

}  // namespace assetgen
