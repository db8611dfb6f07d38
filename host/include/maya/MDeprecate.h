#pragma once

// Marks an API member Maya has deprecated: using it warns (and fails a -Werror build), as it does
// with Maya's own headers.
#define OPENMAYA_DEPRECATED(version, message) [[deprecated(message)]]
// Notes the version an API member appeared in; nothing to check here.
#define OPENMAYA_AVAILABLE(version)
