#include "framework/app/Buffer.h"

#include <algorithm>

namespace Zing {

// Writes put their bits at the write position: on the last byte when the
// position is inside it, on new bytes past the end. Callers write sequentially
// from the start, so this is plain appending of packed bytes.
void Buffer::SetBit(std::int32_t bitPos, bool on) {
  const auto byteIndex = static_cast<std::size_t>(bitPos / 8);
  if (byteIndex >= data.size()) data.resize(byteIndex + 1, 0);
  const auto mask = static_cast<std::uint8_t>(1u << (bitPos % 8));
  if (on) {
    data[byteIndex] |= mask;
  } else {
    data[byteIndex] &= static_cast<std::uint8_t>(~mask);
  }
}

void Buffer::FinishWrite() { dataBitSize = std::max(dataBitSize, writeBitPos); }

void Buffer::WriteByte(std::uint8_t b) {
  const int k = writeBitPos % 8;
  if (k == 0) {
    const auto byteIndex = static_cast<std::size_t>(writeBitPos / 8);
    if (byteIndex >= data.size()) data.resize(byteIndex + 1, 0);
    data[byteIndex] = b;
  } else {
    for (int i = 0; i < 8; ++i) SetBit(writeBitPos + i, (b >> i) & 1);
  }
  writeBitPos += 8;
  FinishWrite();
}

void Buffer::WriteNumBits(std::int32_t value, int n) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < n; ++i) {
    SetBit(writeBitPos, i < 32 && ((bits >> i) & 1u));
    ++writeBitPos;
  }
  FinishWrite();
}

void Buffer::WriteBoolean(bool v) { WriteByte(v ? 1 : 0); }

void Buffer::WriteShort(std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  WriteByte(static_cast<std::uint8_t>(u & 0xFF));
  WriteByte(static_cast<std::uint8_t>(u >> 8));
}

void Buffer::WriteLong(std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int shift = 0; shift < 32; shift += 8) WriteByte(static_cast<std::uint8_t>((u >> shift) & 0xFF));
}

void Buffer::WriteString(const std::string& s) {
  WriteShort(static_cast<std::int16_t>(s.size()));
  WriteBytes(s.data(), s.size());
}

void Buffer::WriteBytes(const void* p, std::size_t n) {
  const auto* bytes = static_cast<const std::uint8_t*>(p);
  for (std::size_t i = 0; i < n; ++i) WriteByte(bytes[i]);
}

void Buffer::SetData(const void* p, std::size_t n) {
  n = std::min(n, kMaxBytes);
  const auto* bytes = static_cast<const std::uint8_t*>(p);
  data.assign(bytes, bytes + n);
  dataBitSize = static_cast<std::int32_t>(n * 8);
}

void Buffer::Clear() {
  data.clear();
  dataBitSize = readBitPos = writeBitPos = 0;
}

std::uint8_t Buffer::ReadByte() {
  const std::size_t byteCount = GetDataLen();
  const auto byteIndex = static_cast<std::size_t>(readBitPos / 8);
  const int k = readBitPos % 8;
  // An unaligned read needs the byte after the one it starts in as well.
  if (static_cast<std::size_t>(readBitPos + 7) / 8 >= byteCount) return 0;
  std::uint8_t result = data[byteIndex];
  if (k > 0) result = static_cast<std::uint8_t>((data[byteIndex] >> k) | (data[byteIndex + 1] << (8 - k)));
  readBitPos += 8;
  return result;
}

std::int32_t Buffer::ReadNumBits(int n, bool isSigned) {
  std::uint32_t result = 0;
  bool lastBit = false;
  const std::size_t byteCount = GetDataLen();
  for (int i = 0; i < n; ++i) {
    if (static_cast<std::size_t>(readBitPos / 8) >= byteCount) break;
    lastBit = (data[static_cast<std::size_t>(readBitPos / 8)] >> (readBitPos % 8)) & 1;
    if (lastBit && i < 32) result |= 1u << i;
    ++readBitPos;
  }
  if (isSigned && lastBit && n < 32) result |= ~0u << n;
  return static_cast<std::int32_t>(result);
}

bool Buffer::ReadBoolean() { return ReadByte() != 0; }

std::int16_t Buffer::ReadShort() {
  const unsigned low = ReadByte();
  const unsigned high = ReadByte();
  return static_cast<std::int16_t>(low | (high << 8));
}

std::int32_t Buffer::ReadLong() {
  std::uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) result |= static_cast<std::uint32_t>(ReadByte()) << shift;
  return static_cast<std::int32_t>(result);
}

std::string Buffer::ReadString() {
  const std::int16_t length = ReadShort();
  std::string s;
  for (int i = 0; i < length; ++i) s.push_back(static_cast<char>(ReadByte()));
  return s;
}

void Buffer::ReadBytes(void* p, std::size_t n) {
  auto* bytes = static_cast<std::uint8_t*>(p);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = ReadByte();
}

}  // namespace Zing
