// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/hostile_bases.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "storage/base_file.h"
#include "storage/base_section.h"
#include "storage/byte_order.h"
#include "storage/change_stream.h"
#include "storage/keystream.h"
#include "storage/record_key.h"
#include "storage/zlib_codec.h"
#include "tools/demo_town.h"

namespace spravka::testing {
namespace {

constexpr int32_t kInt32Max = INT32_MAX;
// Offsets in a file written by WriteBasePart.
constexpr size_t kHomeTextLengthAt = kHeaderOffset + kHeaderSize + 4;

// `spravka-cli demo` with this many records and seed 1, stamp included.
std::string DemoFile(size_t home, size_t org, int32_t table_growth = -1) {
  DemoTown town = MakeDemoTown(home, org, 1);
  if (table_growth >= 0) town.header.TableGrowth = table_growth;
  const auto stamp = static_cast<int32_t>(Keystream(1).Next(2147483647));
  return WriteBasePart(town.header, stamp, town.home_text, town.org_text);
}

int32_t StampOf(const std::string& file) {
  return ReadInt32(reinterpret_cast<const uint8_t*>(file.data()) + file.size() -
                   4);
}

// A level-9 stream of `prefix` followed by `count` bytes `fill`, made
// without holding them.
std::string CompressRepeated(const std::string& prefix, char fill,
                             size_t count) {
  z_stream z{};
  if (deflateInit(&z, 9) != Z_OK) throw std::runtime_error("deflateInit");
  const std::string block(1 << 20, fill);
  std::string out;
  char buffer[1 << 16];
  auto pump = [&](const char* data, size_t size, int flush) {
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    z.avail_in = static_cast<uInt>(size);
    do {
      z.next_out = reinterpret_cast<Bytef*>(buffer);
      z.avail_out = sizeof buffer;
      deflate(&z, flush);
      out.append(buffer, sizeof buffer - z.avail_out);
    } while (z.avail_out == 0);
  };
  pump(prefix.data(), prefix.size(), Z_NO_FLUSH);
  while (count > 0) {
    const size_t piece = std::min(count, block.size());
    count -= piece;
    pump(block.data(), piece, count == 0 ? Z_FINISH : Z_NO_FLUSH);
  }
  deflateEnd(&z);
  return out;
}

// A change section around a stream compressed elsewhere, with any hint.
std::string ChangeSection(int32_t stamp, int32_t hint, std::string stream) {
  MaskChangeStream(reinterpret_cast<uint8_t*>(stream.data()), stream.size());
  std::string out;
  AppendInt32(&out, stamp);
  AppendInt32(&out, hint);
  return out + stream;
}

}  // namespace

std::vector<HostileBase> HostileBases(HostileScale scale) {
  const bool full = scale == HostileScale::kFull;
  std::vector<HostileBase> bases;

  bases.push_back({"table-growth.qz",
                   "an empty town whose TableGrowth is 2^31-1",
                   DemoFile(0, 0, kInt32Max)});

  {
    // The residential text length is the largest the stream length makes
    // plausible; the stream is a real one of a few records, padded.
    const size_t stream_size =
        full ? (kInt32Max - kInflateSlack + kMaxInflateRatio - 1) /
                   kMaxInflateRatio
             : 64 * 1024;
    const int64_t text_size = std::min<int64_t>(
        kInt32Max,
        static_cast<int64_t>(stream_size) * kMaxInflateRatio + kInflateSlack);
    std::string file = DemoFile(20, 2);
    const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
    const size_t old_stream =
        static_cast<size_t>(ReadInt32(bytes + kHomeTextLengthAt + 4));
    std::string head = file.substr(0, kHomeTextLengthAt);
    AppendInt32(&head, static_cast<int32_t>(text_size));
    AppendInt32(&head, static_cast<int32_t>(stream_size));
    std::string stream = file.substr(kHomeTextLengthAt + 8, old_stream);
    ScrambleHomeStream(reinterpret_cast<uint8_t*>(stream.data()),
                       stream.size());
    stream.resize(stream_size, '\0');
    ScrambleHomeStream(reinterpret_cast<uint8_t*>(stream.data()),
                       stream.size());
    std::string rest = file.substr(kHomeTextLengthAt + 8 + old_stream);
    std::string hostile = head + stream + rest;
    // The trailer and the length follow the longer stream.
    const size_t length = hostile.size();
    WriteInt32(reinterpret_cast<uint8_t*>(hostile.data()) + length - 8,
               static_cast<int32_t>(length - kHeaderDistanceBias - 8));
    WriteInt32(reinterpret_cast<uint8_t*>(hostile.data()),
               static_cast<int32_t>(length));
    bases.push_back({"text-length.qz",
                     "a residential text length of " +
                         std::to_string(text_size) + " for a stream of " +
                         std::to_string(stream_size) + " bytes",
                     hostile});
  }

  {
    const std::string town = DemoFile(20, 2);
    const size_t count = full ? size_t{1} << 30 : size_t{64} << 20;
    bases.push_back(
        {"change-stream.qz",
         "a change stream of one 0x1E and " + std::to_string(count) +
             " bytes \"A\"",
         town + ChangeSection(StampOf(town), static_cast<int32_t>(count + 1),
                              CompressRepeated("\x1E", 'A', count))});
    ChangeList home;
    home.Add(2, "\x1F");
    bases.push_back(
        {"change-hint.qz", "a change section whose size hint is 2^31-1",
         town +
             ChangeSection(StampOf(town), kInt32Max,
                           Compress(BuildChangeStream(home, ChangeList())))});
  }

  {
    // Loads as it stands, but with tag 1 added by optimisation and the next
    // load it would be 65,536 bytes long.
    const std::string town = DemoFile(20, 2);
    ChangeList home;
    home.Add(21, std::string(65529, 'L') + "\x1F");
    bases.push_back(
        {"tagless-record.qz", "a change entry of 65,530 bytes without tag 1",
         town + WriteChangeSection(StampOf(town), home, ChangeList())});
  }
  return bases;
}

}  // namespace spravka::testing
