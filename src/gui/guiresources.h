#pragma once

namespace veldra {

// Registers the compiled-in icons of the GUI library; idempotent. Widgets
// that use ":/resources/..." call it before their first look-up.
void initGuiResources();

} // namespace veldra
