#include "dialogs/ManualText.h"

#include <QStringList>
#include <iterator>

namespace vedivez {

namespace {

// One entry per line. Lines ending in a space continue on the next line; the last two are
// empty.
const char* const kManualLines[] = {
    "6.7.2014 - EDITOR VAD verze 0.4",
    "",
    "Jednotlivé koleje se vkládají klikáním myší na panel, volba koleje/výhybky se provádí na "
    "horním panelu kliknutím na příslušný obrázek.",
    "Nevystačí-li místo na panelu, všechny prvky lze posouvat najednou pomocí zkratky "
    "CTRL+(příslušná šipka).",
    "Zvolený prvek lze také vkládat kliknutím tažením myši jako vodorovnou přímku (pouze přitažení "
    "zleva doprava).",
    "",
    "Velikost panelu se nastavuje na záložce Ostatní.",
    "",
    "Před vložením prvku lze nastavit spojení nebo naopak mezeru v reliéfu (dělení kolejových "
    "obvodů). Nastavení se provádí zatržítky na ",
    "levém panelu na záložce \"Dělení KO\"",
    "",
    "Význam má pouze označování rohových styků, vodorovné a svislé návaznosti jsou zatím trvale "
    "spojeny. Dělení přímých kolejí ",
    "se provede prvkem na záložce \"Šturc a dělení KO\".",
    "",
    "Program v této vývojové verzi umožn'uje pouze sestavení, uložení a načtení reliéfu, popř. "
    "změnu velikosti panelu, posun všech prvků ",
    "panelu.",
    "",
    "ZKRATKY:",
    " - Ctrl+(směrové šipky) = Posun všech prvků po reliéfu o jedno políčko.",
    " - F2 = Skrýt všechny nástrojové panely",
    " - F3 = Zobrazit všechny nástrojové panely",
    " - Ctrl+O = Načtení souboru",
    " - Ctrl+S = Uložení souboru",
    " - Ctrl+N = Nový soubor (v případě neuložených změn zobrazuje výzvu k potvrzení vyčištění "
    "programu)",
    " - Ctrl+Shift+S = Uložit jako nový soubor",
    "",
    "=============================================",
    "1.7.2014",
    "Start vývoje.",
    "",
    "",
};

} // namespace

QString ManualText() {
    QStringList lines;
    for (const char* line : kManualLines)
        lines.append(QString::fromUtf8(line));
    return lines.join(QLatin1Char('\n'));
}

int ManualLineCount() {
    return int(std::size(kManualLines));
}

} // namespace vedivez
