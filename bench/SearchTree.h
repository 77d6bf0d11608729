#pragma once

#include <algorithm>
#include <string>

namespace trvx::bench {

// A cp1252 translation of about `values` values in the shape of real
// language data: forms of controls with four values each and a STRINGS
// section with a fifth of the values. Texts carry umlauts, so case folding
// sees high bytes as well.
inline std::string MakeSearchText(int values) {
    const int strings = values / 5;
    const int controls = (values - strings) / 4;
    const int forms = std::max(1, controls / 100);
    std::string text;
    text.reserve(static_cast<std::size_t>(values) * 48);
    text += "INFO {\r\n  LangID = 1031\r\n}\r\nOBJECTS {\r\n";
    for (int f = 0, control = 0; f < forms; ++f) {
        text += "  Form:frm" + std::to_string(f) + " {\r\n";
        for (int c = 0; c < controls / forms; ++c, ++control) {
            const std::string n = std::to_string(control);
            text += "    Button:btn" + n + " {\r\n";
            text += "      Caption = Beschriftung f\xFCr Schaltfl\xE4"
                    "che " +
                    n + "\r\n";
            text += "      Hint = {\"\xD6"
                    "ffnet den Dialog " +
                    n + "\"\r\n";
            text += "              \"zweite Zeile\"\r\n      }\r\n";
            text += "      Shortcut = Ctrl+" + std::to_string(control % 10) + "\r\n";
            text += "      Lines = Eintrag " + n + "\r\n";
            text += "    }\r\n";
        }
        text += "  }\r\n";
    }
    text += "}\r\nSTRINGS {\r\n";
    for (int s = 0; s < strings; ++s)
        text += "  SMessage" + std::to_string(s) + " = Meldung Nummer " + std::to_string(s) +
                " wurde ge\xE4ndert\r\n";
    text += "}\r\n";
    return text;
}

} // namespace trvx::bench
