#pragma once

#include <QImage>

namespace veldra::bench {

// A deterministic photograph-like picture: smooth sky and ground gradients,
// textured regions, hard-edged objects and sensor noise.
QImage photoLikeImage(int width, int height, quint32 seed = 1);

} // namespace veldra::bench
