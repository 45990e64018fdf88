#pragma once

// The zoom of the windows: one factor for every window of the program, in steps from 50 % to
// 200 %, which the user changes with Ctrl+plus, Ctrl+minus and Ctrl+0. A window draws its
// pictures, texts, fields, click areas and markers at the factor (not a picture stretched), and
// the desktop's own scaling multiplies with it. A window that would not fit the free area of its
// screen at the factor opens at the largest step that fits (fitsScreen).

#include <QObject>

namespace forms {

inline constexpr int ZoomSteps[] = {50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200};
inline constexpr int NoZoom = 100;

// The nearest step to `percent`; NoZoom for a value that is no zoom at all.
int zoomStep(int percent);
// The step after `percent` in the direction (+1 larger, -1 smaller), or the same at the ends.
int nextZoomStep(int percent, int direction);

// The factor the user chose: every window is drawn at it where it fits.
class Zoom : public QObject
{
    Q_OBJECT
public:
    static Zoom &instance();

    int percent() const { return m_percent; }
    // Sets the factor (a step) and applies it to every window shown, also to one drawn at
    // another step because it did not fit its screen.
    void setPercent(int percent);

    // Whether a window opens at a smaller step where its screen's free area is too small for it.
    // The program turns it on; off, as in kiila-calc, a window keeps the factor as it is.
    bool fitsScreen() const { return m_fitsScreen; }
    void setFitsScreen(bool fits) { m_fitsScreen = fits; }

signals:
    void changed(int percent);

private:
    int m_percent = NoZoom;
    bool m_fitsScreen = false;
};

} // namespace forms
