#pragma once
// Answering a window that a click opens modally, found by a control it holds.

#include <QWidget>
#include <functional>

namespace kz::test {

// Runs answer(window) once a shown window holds `control` (polled, so it
// also finds a window that runs modally meanwhile, after others before it).
void WhenWindowShows(const char* control, std::function<void(QWidget*)> answer);

}  // namespace kz::test
