#include "forms/zoom.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace forms {

int zoomStep(int percent)
{
    if (percent <= 0)
        return NoZoom;
    return *std::min_element(std::begin(ZoomSteps), std::end(ZoomSteps), [percent](int a, int b) {
        return std::abs(a - percent) < std::abs(b - percent);
    });
}

int nextZoomStep(int percent, int direction)
{
    const int *at = std::find(std::begin(ZoomSteps), std::end(ZoomSteps), zoomStep(percent));
    if (direction > 0 && at + 1 != std::end(ZoomSteps))
        return *(at + 1);
    if (direction < 0 && at != std::begin(ZoomSteps))
        return *(at - 1);
    return *at;
}

Zoom &Zoom::instance()
{
    static Zoom zoom;
    return zoom;
}

void Zoom::setPercent(int percent)
{
    m_percent = zoomStep(percent);
    emit changed(m_percent);
}

} // namespace forms
