#pragma once

// The language data: tree, text format, code pages, host modules.
#include "language/CodePage.h"
#include "language/Errors.h"
#include "language/NameTables.h"
#include "language/Quoting.h"
#include "language/Tarvin.h"
#include "language/TarvinItem.h"
