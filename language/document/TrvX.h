#pragma once

// The language data: tree, text format, code pages, host modules.
#include "encoding/CodePage.h"
#include "tree/Errors.h"
#include "tree/NameTables.h"
#include "format/Quoting.h"
#include "document/Tarvin.h"
#include "tree/TarvinItem.h"
