// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_FILE_WORK_GATE_H_
#define SPRAVKA_APP_FILE_WORK_GATE_H_

#include <functional>
#include <optional>
#include <string>

namespace spravka {

// A request, from one of the window's events, to begin work that reads or
// writes a base file or replaces or changes the open base's store.
enum class WorkRequest {
  kClose,    // the window is to close (its close button, F10, Alt+F4)
  kSwitch,   // a town chosen in the town list
  kDrop,     // a base file dropped on the window
  kCommand,  // a command on the base file (save, column widths, optimise,
             // restore, new base) from the menu, the tool bar or a key
  kEdit,     // a change of the store: a cell edit, an addition, a deletion,
             // a paste
};

// What becomes of a request.
enum class GateAnswer {
  kBegin,   // nothing else runs: it begins now
  kHold,    // it is carried out once the running work has ended
  kRefuse,  // it is not carried out, and the user is told why
  kIgnore,  // it is not carried out, without a word
};

// What the window tells the user of a refused command.
inline constexpr char kWorkRunningText[] =
    "Идёт работа с базой.\r\nКоманда не выполнена: повторите её, когда "
    "работа закончится.";

// The gate's rule. Nothing running, every request begins. While work runs:
// a close is held (the program still ends, with the save question, once
// the work is done); a switch, to a chosen town or a dropped file, is held,
// the last one asked for in place of an earlier one, unless a close is
// held: the window is going. A command is refused with a message, since
// carried out later it might act on another base than the user saw. An edit
// is ignored, as any edit of a base that cannot be edited is.
GateAnswer DecideWorkRequest(WorkRequest request, bool working,
                             bool close_held);

// The work held until the running work has ended.
struct HeldWork {
  bool close = false;
  // The switch held, kSwitch (`target` a town entry) or kDrop (`target` a
  // dropped file's path); none when no switch is held.
  std::optional<WorkRequest> switch_request;
  std::string target;
};

// The one gate of a window's file work. Every event that would begin such
// work asks it first; what begins runs inside a Work scope, and all that is
// asked meanwhile is held, refused or ignored as DecideWorkRequest says.
// When the last scope ends with work held, `on_held` runs, and the window
// carries the held work out (TakeHeld) from its event loop, not from inside
// the ending scope. Window thread only.
class FileWorkGate {
 public:
  // Work runs while one lives. Scopes nest: a command's own steps (a switch
  // after a restore) run inside the command's scope.
  class Work {
   public:
    explicit Work(FileWorkGate* gate);
    Work(Work&& other) noexcept;
    Work& operator=(Work&&) = delete;
    Work(const Work&) = delete;
    Work& operator=(const Work&) = delete;
    ~Work();

   private:
    FileWorkGate* gate_;
  };

  // The answer to `request`, holding what is held. `target` is the town
  // entry of a switch or the path of a dropped file.
  GateAnswer Ask(WorkRequest request, const std::string& target = {});
  // The scope of work that Ask let begin.
  [[nodiscard]] Work Begin() { return Work(this); }
  bool working() const { return depth_ > 0; }

  // The held work, handed over and forgotten: a close alone when one is
  // held. None while work runs or when nothing is held.
  std::optional<HeldWork> TakeHeld();
  void OnHeld(std::function<void()> on_held) { on_held_ = std::move(on_held); }

 private:
  void End();
  bool anything_held() const {
    return held_.close || held_.switch_request.has_value();
  }

  int depth_ = 0;
  HeldWork held_;
  std::function<void()> on_held_;
};

}  // namespace spravka

#endif  // SPRAVKA_APP_FILE_WORK_GATE_H_
