#pragma once

#include "check/CheckSplit.h"
#include "check/Findings.h"
#include "document/Tarvin.h"

namespace trvx {

// The checks `trvx check` runs over a translation, optionally against its
// base (the host's own language data of the same version).
//
// Matching. A node of the translation is paired with the first child of the
// base counterpart of its parent whose name equals its own, letter case
// folded by the translation's code page; a value with the first base value
// of its ident, the same way. This is how Update To pairs them. Checks that
// need a base skip what has no counterpart.
//
// The checks, by family (idents are compared exactly, as the editor does):
// - accelerator: the scope is one node: the "Caption" values of its
//   children, except those of forms, which are window titles. "&&" is a literal "&"; "&x" marks x.
//   Warnings: two captions of one scope marking the same character (folded by the code page); an
//   "&" at the end of a caption, or before a blank, which marks nothing; a
//   caption marking more than one character; with a base, a caption without
//   a mark whose base has one (not when it has a lone "&": that was meant
//   as one and is reported as such).
// - shortcut: a "Shortcut" value that is neither empty nor a shortcut by
//   ShortcutFromText is an error. Two shortcuts of one form that denote the
//   same key are warnings; a form is a node named "Form:..." (nested forms
//   are forms of their own), and a top-level node counts as one for what
//   lies outside every form.
// - placeholder (base): the placeholders of each value (see ScanFormat)
//   must equal the base's as a multiset of argument and format, or it is an
//   error. "%%" is a literal and not compared. When the base text goes
//   through the formatter (it holds a placeholder or "%%") and has no lone
//   "%", a lone "%" in the translation is an error too.
// - list (base): an "Items" or "Strings" value whose line count differs
//   from the base's is a warning.
// - untranslated (base): a value whose text is byte for byte the base's,
//   and holds a letter by the code page, is an info. "Shortcut" values are
//   key names, not language, and are left out.
// - whitespace (base): when both texts hold more than blanks, differing
//   leading or trailing blanks (codes 0 to 32, compared exactly) are a
//   warning.
// - structure: errors for what a save would lose or the host would not
//   find: values of the root (never written); names and idents holding "{",
//   "}" or "=", or with blanks at either end (not read back as written);
//   names and idents holding a line break (stray text from the line above
//   was read into them). A text cannot hold a NUL, so none is lost there.
//   CheckLanguage reports first a LangID Windows does not know (warning).
//   A warning, once, where the tree nests more than 1000 levels deep.
//   CheckLanguage adds what the reads of the files skipped (TReadLoss).
//
// Findings come grouped by family in the order above, each family in the
// order of the tree, except that the first of two equal shortcuts is
// reported when the second is met.

// Runs every check. cp is the translation's code page (matching, folding,
// display); baseCp decodes base texts quoted in messages. baseRoot may be
// null: the checks that need a base are then skipped. A tree with at least
// splitFrom nodes and values past its middle is checked on two threads, with
// the same findings; CheckLanguage chooses by the machine.
TFindings CheckTrees(const TTarvinItem& root, const CodePage& cp, const TTarvinItem* baseRoot,
                     const CodePage& baseCp, std::size_t splitFrom = kNoCheckSplit);
TFindings CheckLanguage(const TTarvin& translation, const TTarvin* base);

} // namespace trvx
