#pragma once
// A long step of the core (reading and converting a file, drawing it, sending a
// list) run off the window thread: the windows keep painting and moving while it
// works, and a small window owned by the given one names the step once it has
// taken longer than kShownAfterMs. The step talks to the user through the prompter
// it is handed: every question and message goes over to the window thread and the
// step waits there for the answer. Run returns when the step is done; while one
// runs, Running() is true and the commands wait.

#include <QString>

#include <functional>

class Prompter;
class QWidget;

namespace BackgroundStep {

inline constexpr int kShownAfterMs = 400;

// Runs step(prompter's stand-in) on a thread of its own and returns when it is
// done. text names the step in the progress window; without a text (or without
// widgets at all) no window is shown.
void Run(QWidget* owner, const QString& text, Prompter& prompter, const std::function<void(Prompter&)>& step);

bool Running();

}  // namespace BackgroundStep
