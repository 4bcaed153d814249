// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/record_scanner.h"

#include <algorithm>
#include <utility>

#include "search/match_record.h"

namespace spravka {

RecordScanner::RecordScanner(std::string pattern, const MatchOptions& options)
    : pattern_(std::move(pattern)), options_(options) {
  // The matcher reads the pattern up to its 0x1F.
  if (pattern_.find(static_cast<char>(kRecordEnd)) == std::string::npos) {
    pattern_.push_back(static_cast<char>(kRecordEnd));
  }
  probes_ = ChooseProbes(pattern_, options_);
}

void RecordScanner::Start(size_t from) {
  cached_ = false;
  record_ = probe_at_ = std::max<size_t>(from, 1);
  done_ = damaged_ = false;
}

void RecordScanner::Start(std::vector<size_t> positions, bool continue_after) {
  cached_ = true;
  positions_ = std::move(positions);
  next_position_ = 0;
  continue_after_ = continue_after;
  done_ = damaged_ = false;
}

size_t RecordScanner::RecordLength(const Table& table, size_t p) {
  if (p + kRecordHeadSize > table.used) {
    damaged_ = true;
    return 0;
  }
  const size_t length = table.LengthAt(p);
  if (length <= kRecordHeadSize || p + length - 1 > table.used ||
      *table.at(p + length - 1) != kRecordEnd) {
    damaged_ = true;
    return 0;
  }
  return length;
}

bool RecordScanner::Matches(const Table& table, size_t p) {
  ++records_checked_;
  return MatchRecord(reinterpret_cast<const uint8_t*>(pattern_.data()),
                     table.at(p + kRecordHeadSize), options_);
}

bool RecordScanner::Step(const Table& table, size_t budget, size_t limit,
                         std::vector<size_t>* matches) {
  if (!done_ && matches->size() >= limit) done_ = true;
  if (done_) return true;
  if (cached_) {
    done_ = StepCached(table, budget, limit, matches);
  } else if (!probes_.any.empty()) {
    done_ = StepProbe(table, budget, limit, matches);
  } else {
    done_ = StepEach(table, budget, limit, matches);
  }
  return done_;
}

// Leaps from probe hit to probe hit; the heads between them are walked only
// to find the record that holds a hit.
bool RecordScanner::StepProbe(const Table& table, size_t budget, size_t limit,
                              std::vector<size_t>* matches) {
  const uint8_t* const data = table.at(0);
  const size_t end = table.used + 1;  // one past the last used byte
  const size_t slice_end = std::min(end, probe_at_ + budget);
  while (probe_at_ < slice_end) {
    const size_t hit =
        FindProbe(probes_, data, probe_at_, slice_end, 1, table.used);
    if (hit == slice_end) {
      probe_at_ = slice_end;
      break;
    }
    size_t length;
    for (;;) {
      if (record_ >= table.used) return true;
      length = RecordLength(table, record_);
      if (length == 0) return true;
      if (record_ + length > hit) break;
      record_ += length;
    }
    if (Matches(table, record_)) {
      matches->push_back(record_);
      if (matches->size() >= limit) return true;
    }
    record_ += length;
    probe_at_ = record_;  // the whole record is decided
  }
  return probe_at_ >= end;
}

bool RecordScanner::StepEach(const Table& table, size_t budget, size_t limit,
                             std::vector<size_t>* matches) {
  const size_t slice_end = record_ + budget;
  while (record_ < table.used) {
    if (record_ >= slice_end) return false;
    const size_t length = RecordLength(table, record_);
    if (length == 0) return true;
    if (Matches(table, record_)) {
      matches->push_back(record_);
      if (matches->size() >= limit) return true;
    }
    record_ += length;
  }
  return true;
}

bool RecordScanner::StepCached(const Table& table, size_t budget, size_t limit,
                               std::vector<size_t>* matches) {
  size_t scanned = 0;
  while (next_position_ < positions_.size()) {
    if (scanned >= budget) return false;
    const size_t p = positions_[next_position_++];
    if (p == 0 || p >= table.used) return true;
    const size_t length = RecordLength(table, p);
    if (length == 0) return true;
    scanned += length;
    if (Matches(table, p)) {
      matches->push_back(p);
      if (matches->size() >= limit) return true;
    }
    if (next_position_ == positions_.size() && continue_after_) {
      // The cached result was cut: its later matches lie behind it.
      cached_ = false;
      record_ = probe_at_ = p + length;
      return false;
    }
  }
  return true;
}

}  // namespace spravka
