#pragma once

// The window as a player first meets it, for the window tests.
#include <QtTest>
#include <memory>

#include "main_window.h"

namespace nubbo::test {

// A main window dealing from `seed`, shown, loaded and active; none when the
// platform never exposes or activates it.
inline std::unique_ptr<ui::MainWindow> openWindow(std::uint64_t seed = 1) {
    auto window = std::make_unique<ui::MainWindow>(seed);
    window->show();
    window->load();
    if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) return nullptr;
    return window;
}

}  // namespace nubbo::test
