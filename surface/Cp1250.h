#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vedivez {

// The one conversion between the model's 8-bit Windows-1250 strings and Qt's UTF-16 text,
// used wherever a model string reaches the user interface and back.
QString FromCp1250(std::string_view bytes);

// Characters without a Windows-1250 byte become "?".
std::string ToCp1250(const QString& text);

} // namespace vedivez
