#pragma once
// Screen dumps in the X window dump format (what xwd writes), as images.

#include <QImage>

#include <string>

namespace e2e {

// The image of a dump of a true-colour screen of 16, 24 or 32 bits per
// pixel; a null image for anything else.
QImage ImageFromXwd(const std::string& dump);

} // namespace e2e
