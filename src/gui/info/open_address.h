#pragma once
// Opens an address that came from a page or a downloaded table: only web and mail addresses go
// to the system's opener, never a local file or program.

#include "platform/open_document.h"

namespace parvex {

// An empty address does nothing and succeeds.
Open_Result Open_Address(const QString& address);

} // namespace parvex
