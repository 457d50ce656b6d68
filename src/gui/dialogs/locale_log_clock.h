#pragma once
// The log's clock on the desktop: local time in the user's short date and long time formats.

#include "dialogs/log_book.h"

namespace parvex {

Log_Clock Locale_Log_Clock();

} // namespace parvex
