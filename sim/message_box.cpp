#include "message_box.h"

#include <algorithm>
#include <cstdio>

#include "error.h"
#include "machine.h"
#include "text.h"

namespace sim {

namespace {

constexpr BoxButton kOk{"ok", "OK", 1};
constexpr BoxButton kCancel{"cancel", "Cancel", 2};
constexpr BoxButton kAbort{"abort", "Abort", 3};
constexpr BoxButton kRetry{"retry", "Retry", 4};
constexpr BoxButton kIgnore{"ignore", "Ignore", 5};
constexpr BoxButton kYes{"yes", "Yes", 6};
constexpr BoxButton kNo{"no", "No", 7};

const char* icon_word(std::uint32_t style) {
    switch (style & 0xF0) {
        case 0x10: return "(stop)";
        case 0x20: return "(?)";
        case 0x30: return "(!)";
        case 0x40: return "(i)";
        default: return "";
    }
}

// A button's text as a box in this language shows it (code page 1252), English otherwise.
std::string button_label(const BoxButton& b, std::uint16_t language) {
    struct Labels {
        std::uint16_t primary;
        const char* texts[8];  // by button id
    };
    static const Labels labels[] = {
        {0x07, {"", "OK", "Abbrechen", "Abbrechen", "Wiederholen", "Ignorieren", "Ja", "Nein"}},
        {0x0A, {"", "Aceptar", "Cancelar", "Anular", "Reintentar", "Omitir", "S\xED", "No"}},
        {0x0C, {"", "OK", "Annuler", "Abandonner", "R\xE9" "essayer", "Ignorer", "Oui", "Non"}},
        {0x13, {"", "OK", "Annuleren", "Afbreken", "Opnieuw", "Negeren", "Ja", "Nee"}},
    };
    for (const Labels& l : labels) {
        if ((language & 0x3FF) == l.primary) return l.texts[b.id];
    }
    return b.label;
}

void draw(std::FILE* out, const std::string& text, const std::string& caption, std::uint32_t style,
          std::uint16_t language, const std::vector<BoxButton>& buttons) {
    std::string icon = icon_word(style);
    std::string body = (icon.empty() ? "" : icon + "  ") + text;
    std::string row;
    for (const BoxButton& b : buttons) {
        row += std::string(row.empty() ? "" : "  ") + "[ " + button_label(b, language) + " ]";
    }
    std::size_t width = std::max({body.size(), row.size(), caption.size() + 4}) + 4;
    auto line = [&](const std::string& content, bool centre) {
        std::size_t pad = width - content.size();
        std::size_t left = centre ? pad / 2 : 2;
        std::fprintf(out, "|%s%s%s|\n", std::string(left, ' ').c_str(), cp1252_to_utf8(content).c_str(),
                     std::string(pad - left, ' ').c_str());
    };
    std::fprintf(out, "\n+-[ %s ]%s+\n", cp1252_to_utf8(caption).c_str(), std::string(width - caption.size() - 4, '-').c_str());
    line("", false);
    line(body, false);
    line("", false);
    line(row, true);
    std::fprintf(out, "+%s+\n", std::string(width, '-').c_str());
}

}  // namespace

std::vector<BoxButton> box_buttons(std::uint32_t style) {
    switch (style & 0xF) {
        case 1: return {kOk, kCancel};
        case 2: return {kAbort, kRetry, kIgnore};
        case 3: return {kYes, kNo, kCancel};
        case 4: return {kYes, kNo};
        case 5: return {kRetry, kCancel};
        default: return {kOk};
    }
}

std::string box_style_text(std::uint32_t style) {
    static const char* const buttons[] = {"MB_OK",    "MB_OKCANCEL",    "MB_ABORTRETRYIGNORE",
                                          "MB_YESNOCANCEL", "MB_YESNO", "MB_RETRYCANCEL"};
    static const char* const icons[] = {nullptr, "MB_ICONSTOP", "MB_ICONQUESTION", "MB_ICONEXCLAMATION",
                                        "MB_ICONINFORMATION"};
    std::uint32_t kind = style & 0xF;
    std::uint32_t icon = (style >> 4) & 0xF;
    std::uint32_t modal = style & 0x3000;
    std::uint32_t rest = style & ~0x30FFu;
    if (kind > 5 || icon > 4) return hex(style);
    std::string out = buttons[kind];
    if (icon) out += std::string("|") + icons[icon];
    if (modal == 0x1000) out += "|MB_SYSTEMMODAL";
    if (modal == 0x2000) out += "|MB_TASKMODAL";
    if (modal == 0x3000 || rest) out += "|" + hex(rest | (modal == 0x3000 ? 0x3000 : 0));
    return out;
}

std::string box_result_text(int result) {
    static const char* const names[] = {"0", "IDOK", "IDCANCEL", "IDABORT", "IDRETRY", "IDIGNORE", "IDYES", "IDNO"};
    return result >= 0 && result <= 7 ? names[result] : std::to_string(result);
}

int run_message_box(Machine& m, const std::string& text, const std::string& caption, std::uint32_t style,
                    std::uint16_t language) {
    std::vector<BoxButton> buttons = box_buttons(style);
    std::string choices;
    for (const BoxButton& b : buttons) choices += std::string(choices.empty() ? "" : "/") + b.command;
    if (m.input.interactive()) draw(stderr, text, caption, style, language, buttons);
    for (;;) {
        std::optional<Command> command = m.input.next(choices + " (or fail)");
        if (!command) m.shut_down("the input ended while the box " + c_literal(caption) + " waited for an answer");
        if (command->name == "fail") return 0;
        for (const BoxButton& b : buttons) {
            if (command->name == b.command) return b.id;
        }
        std::string why = "'" + command->name + "' does not answer a box with the buttons " + choices;
        if (m.input.interactive()) {
            std::fprintf(stderr, "%s\n", why.c_str());
            continue;
        }
        m.stop(InputError(m.input.name(), command->line, why).what());
    }
}

}  // namespace sim
