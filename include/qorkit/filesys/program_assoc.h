// Which program opens a kind of file.
#pragma once

#include "qorkit/rtl/system.h"

namespace qorkit {

/// The command line of the desktop's default program for files with the extension `Ext`
/// (without point, any A-Z case; "tar.gz" works too), as the freedesktop databases give it:
/// 1. The MIME type comes from the shared-mime-info glob files `mime/globs2` of the data
///    folders (`$XDG_DATA_HOME`, then `$XDG_DATA_DIRS`): the pattern "*.<ext>" of highest
///    weight in the first folder that has one (patterns marked "cs" only in their own case).
/// 2. Its applications come from the "Default Applications" of the `mimeapps.list` files
///    (`$XDG_CONFIG_HOME`, `$XDG_CONFIG_DIRS`, then `applications/` of the data folders, each
///    desktop-specific `<desktop>-mimeapps.list` of `$XDG_CURRENT_DESKTOP` before the plain
///    one), then from their "Added Associations", then from `applications/mimeinfo.cache`.
/// 3. The first of them whose desktop entry (`applications/<id>`, "vendor-app.desktop" also
///    as `vendor/app.desktop`) exists and is not hidden gives its `Exec` line, with the
///    entry's escapes ("\s", "\t", "\n", "\r", "\\") undone and its field codes ("%f", "%U")
///    kept.
/// Returns "" when the extension has no MIME type or no installed program opens it.
String GetProgAssoc(const String& Ext);

}  // namespace qorkit
