#pragma once

#include <QColor>
#include <QImage>

// How far the image's pixels go along the blend from ground to ink: 0 for none, 1 for the ink itself, taking
// for each pixel the channel least far along; -1 where a channel of a pixel lies outside the blend, so that the
// pixel has a colour of its own. Antialiased text covers a pixel only in part, and a face with thin strokes may
// cover none fully, so its ink shows as a blend, never necessarily as itself; the blend is gamma-corrected, so
// the channels go along it each at its own pace.
double blendReached(const QImage &image, QColor ground, QColor ink);
