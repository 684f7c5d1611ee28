#pragma once
// The hourglass pointer of long operations. Creating a BusyCursor shows the hourglass for the
// whole screen; destroying one shows the default pointer again. It does not remember what was
// in force before: when two overlap, the first one to end already brings back the default
// pointer, even though the other is still alive.

namespace orv::gui {

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // The screen pointer itself: hourglass or default.
    static void showHourglass();
    static void showDefault();
    static bool hourglassShown();
};

} // namespace orv::gui
