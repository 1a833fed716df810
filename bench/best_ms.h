#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <functional>

// Best of a few runs of `work`, in milliseconds.
inline double best_ms(const std::function<void()> &work, int runs = 5)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}
