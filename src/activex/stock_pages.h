// The system's stock font, colour and picture property pages. The import libraries do
// not define their identifiers, so they are defined here (once per program: selectany).
// Include it last: whatever is included after it defines its identifiers too.
#pragma once

#include <windows.h>
#include <initguid.h>
#include <msstkppg.h>
