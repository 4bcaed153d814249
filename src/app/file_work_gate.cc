// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_work_gate.h"

namespace spravka {

GateAnswer DecideWorkRequest(WorkRequest request, bool working,
                             bool close_held) {
  if (!working) return GateAnswer::kBegin;
  switch (request) {
    case WorkRequest::kClose:
      return GateAnswer::kHold;
    case WorkRequest::kSwitch:
    case WorkRequest::kDrop:
      return close_held ? GateAnswer::kIgnore : GateAnswer::kHold;
    case WorkRequest::kCommand:
      return GateAnswer::kRefuse;
    case WorkRequest::kEdit:
      return GateAnswer::kIgnore;
  }
  return GateAnswer::kIgnore;
}

FileWorkGate::Work::Work(FileWorkGate* gate) : gate_(gate) { ++gate_->depth_; }

FileWorkGate::Work::Work(Work&& other) noexcept : gate_(other.gate_) {
  other.gate_ = nullptr;
}

FileWorkGate::Work::~Work() {
  if (gate_ != nullptr) gate_->End();
}

void FileWorkGate::End() {
  if (--depth_ > 0 || !anything_held() || !on_held_) return;
  // Ends a scope, perhaps as an error unwinds it: the window is only told.
  try {
    on_held_();
  } catch (...) {
  }
}

GateAnswer FileWorkGate::Ask(WorkRequest request, const std::string& target) {
  const GateAnswer answer = DecideWorkRequest(request, working(), held_.close);
  if (answer != GateAnswer::kHold) return answer;
  if (request == WorkRequest::kClose) {
    held_.close = true;
    held_.switch_request.reset();  // the window is going
    held_.target.clear();
  } else {
    held_.switch_request = request;
    held_.target = target;
  }
  return answer;
}

std::optional<HeldWork> FileWorkGate::TakeHeld() {
  if (working() || !anything_held()) return std::nullopt;
  HeldWork held = std::move(held_);
  held_ = HeldWork();
  return held;
}

}  // namespace spravka
