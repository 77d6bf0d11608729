#pragma once

// The two-thread read compared with the one-thread read: tree, losses and
// error, in one picture.

#include "format/Reader.h"
#include "tests/support/TreeShape.h"

#include <cstddef>
#include <exception>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>

namespace trvx::test {

inline std::string ReadPicture(std::string_view text, std::optional<std::size_t> split) {
    TTarvinItem root;
    TReadLosses losses;
    std::string error;
    try {
        if (split)
            ParseLanguageTextSplit(root, text, &losses, std::pmr::new_delete_resource(), *split);
        else
            ParseLanguageText(root, text, &losses);
    } catch (const ESurplusBrace& e) {
        error = std::to_string(e.Brace.Line) + ':' + std::to_string(e.Brace.Column) + ' ' +
                std::to_string(e.Stop.Line) + ':' + std::to_string(e.Stop.Column);
    } catch (const std::exception& e) {
        error = e.what();
    }
    std::string out = Shape(root);
    for (const TReadLoss& loss : losses)
        out +=
            '|' + std::to_string(static_cast<int>(loss.Kind)) + '@' + std::to_string(loss.Offset);
    return out + "|error " + error;
}

} // namespace trvx::test
