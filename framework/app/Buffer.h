#pragma once

// A growable byte array with read and write positions counted in bits. The
// game's level files, saved game and high-score table are all packed
// little-endian bytes that pass through it. Reads past the end of the contents
// give 0, so readers of short or damaged files need no length checks.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Zing {

class Buffer {
 public:
  // The largest contents a buffer holds: its bit counters are 32-bit.
  static constexpr std::size_t kMaxBytes = (std::size_t{1} << 28) - 1;

  Buffer() = default;
  Buffer(const Buffer&) = default;
  Buffer(Buffer&&) = default;
  Buffer& operator=(const Buffer&) = default;
  Buffer& operator=(Buffer&&) = default;
  virtual ~Buffer() = default;

  // Writing: each adds at the write position and raises the data size to it.
  void WriteByte(std::uint8_t b);
  void WriteNumBits(std::int32_t value, int n);
  void WriteBoolean(bool v);
  void WriteShort(std::int16_t v);
  void WriteLong(std::int32_t v);
  void WriteString(const std::string& s);
  void WriteBytes(const void* p, std::size_t n);
  // Replaces the contents (at most kMaxBytes); the positions are kept.
  void SetData(const void* p, std::size_t n);
  void Clear();

  // Reading.
  std::uint8_t ReadByte();
  std::int32_t ReadNumBits(int n, bool isSigned);
  bool ReadBoolean();
  std::int16_t ReadShort();
  std::int32_t ReadLong();
  std::string ReadString();
  void ReadBytes(void* p, std::size_t n);
  void SeekFront() { readBitPos = 0; }
  bool AtEnd() const { return readBitPos >= dataBitSize; }

  const std::uint8_t* GetDataPtr() const { return data.empty() ? nullptr : data.data(); }
  std::size_t GetDataLen() const { return (static_cast<std::size_t>(dataBitSize) + 7) / 8; }

  std::int32_t GetReadBitPos() const { return readBitPos; }
  std::int32_t GetWriteBitPos() const { return writeBitPos; }
  std::int32_t GetDataBitSize() const { return dataBitSize; }

 private:
  void SetBit(std::int32_t bitPos, bool on);
  void FinishWrite();

  std::vector<std::uint8_t> data;
  std::int32_t dataBitSize = 0;
  std::int32_t readBitPos = 0;
  std::int32_t writeBitPos = 0;
};

}  // namespace Zing
