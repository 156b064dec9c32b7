#include "windows/help_text.h"

#include <QStringList>
#include <array>

namespace tally::ui {

QString HelpText() {
    // Blanks are part of the text: an indented line continues the entry above it, and doubled and trailing
    // blanks are kept as written.
    static constexpr std::array<const char16_t*, 19> kLines{
        u"Для работы Tallyscope нужно чтобы на клиенте было",
        u"включено логгирование чата и в игре был включена ",
        u"русская раскладка.",
        u"",
        u"Для этого (при закрытой игре) перепишите в папку с ",
        u"игрой файл system.ovr и в папке клиента удалите ",
        u"файл system.cfg",
        u"--------------------------------------------------------------------------",
        u"               О системе расчёта урона замеряющим",
        u"",
        u"Метод 1 - доты приписываются  последнему  кто  использовал ",
        u"               дот-скилл, этот метод более точный, но если в замере ",
        u"              будет участвовать персонаж с дотами вашего класса",
        u"              то все ваши доты уйдут к другому персонажу",
        u"Метод 2 - доты делятся между одинаковыми классами поровну,",
        u"               не точный метод, но если в замере еще 1 персонаж ",
        u"               с дотами вашего класса то варианта другого нет",
        u"Прим. -    для классов у которых нет дотов оптимально ",
        u"               всегда выбирать \"Метод 1\"",
    };
    QStringList lines;
    for (const char16_t* line : kLines)
        lines.append(QString::fromUtf16(line));
    return lines.join(u'\n');
}

}  // namespace tally::ui
