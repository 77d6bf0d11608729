#pragma once

#include "tree/TStr.h"

#include <string_view>

namespace trvx {

// Takes a language text's entries as they are read, in text order, instead
// of a tree: a node's children and values between its OpenNode and its
// CloseNode. The root is open from the start; its CloseNode comes last.
class TLanguageSink {
public:
    virtual ~TLanguageSink() = default;
    // A child of the node open now; name lives as long as the text.
    virtual void OpenNode(std::string_view name) = 0;
    // A value of the node open now; ident and a borrowed text live as long
    // as the text, an owned text was made for this call.
    virtual void Value(std::string_view ident, TStr text) = 0;
    virtual void CloseNode() = 0;
};

} // namespace trvx
