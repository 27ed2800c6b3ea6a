// How a modal dialog or its terminal form was left: confirmed, or cancelled.
#pragma once

namespace common {

// Windows' IDOK and IDCANCEL stay inside the dialog procedures that need them.
enum class DialogEnd { ok, cancelled };

}  // namespace common
