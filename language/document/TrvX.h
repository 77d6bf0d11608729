#pragma once

// The language data: tree, text format, code pages, host modules.
#include "document/Tarvin.h"
#include "encoding/CodePage.h"
#include "format/Quoting.h"
#include "tree/Errors.h"
#include "tree/NameTables.h"
#include "tree/TarvinItem.h"
