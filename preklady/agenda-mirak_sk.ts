<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="sk_SK">
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Uložiť</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>Uložiť všetko</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Otvoriť</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Áno</translation>
    </message>
    <message>
        <source>Yes to &amp;All</source>
        <translation>Áno &amp;všetkým</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nie</translation>
    </message>
    <message>
        <source>N&amp;o to All</source>
        <translation>Ni&amp;e všetkým</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Prerušiť</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Znova</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Ignorovať</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zavrieť</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušiť</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Zahodiť</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Pomocník</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Použiť</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Obnoviť</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Obnoviť predvolené</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Displays version information.</source>
        <translation>Zobrazí verziu programu.</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Zobrazí pomoc k voľbám príkazového riadka.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Zobrazí pomoc aj s voľbami knižnice Qt.</translation>
    </message>
    <message>
        <source>Unknown option '%1'.</source>
        <translation>Neznáma voľba '%1'.</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>Neznáme voľby: %1.</translation>
    </message>
    <message>
        <source>Missing value after '%1'.</source>
        <translation>Za '%1' chýba hodnota.</translation>
    </message>
    <message>
        <source>Unexpected value after '%1'.</source>
        <translation>Za '%1' nemá byť hodnota.</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[voľby]</translation>
    </message>
    <message>
        <source>Usage: %1</source>
        <translation>Použitie: %1</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Voľby:</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>Argumenty:</translation>
    </message>
</context>
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>Double Sided Printing</source>
        <translation>Obojstranná tlač</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Vypnutá</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>Väzba na dlhšej strane</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>Väzba na kratšej strane</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Strany</translation>
    </message>
    <message>
        <source>Page Set:</source>
        <translation>Strany na tlač:</translation>
    </message>
    <message>
        <source>Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.</source>
        <translation>Zadajte strany alebo rozsahy oddelené čiarkami. Rozsah sú dve čísla oddelené pomlčkou. Napr. 3,5-7,9 vytlačí strany 3, 5, 6, 7 a 9.</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>All Pages</source>
        <translation>Všetky strany</translation>
    </message>
    <message>
        <source>Odd Pages</source>
        <translation>Nepárne strany</translation>
    </message>
    <message>
        <source>Even Pages</source>
        <translation>Párne strany</translation>
    </message>
    <message>
        <source>Page Setup Conflicts</source>
        <translation>Nastavenia strany si odporujú</translation>
    </message>
    <message>
        <source>Options 'Pages Per Sheet' and 'Page Set' cannot be used together.
Please turn one of those options off.</source>
        <translation>Voľby 'Strán na hárok' a 'Strany na tlač' sa nedajú použiť naraz.
Vypnite jednu z nich.</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <translation>Priečinok</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Jednotka</translation>
    </message>
</context>
<context>
    <name>QPageSetupWidget</name>
    <message>
        <source>Page Layout</source>
        <translation>Rozloženie strán</translation>
    </message>
    <message>
        <source>Page order:</source>
        <translation>Poradie strán:</translation>
    </message>
    <message>
        <source>Pages per sheet:</source>
        <translation>Strán na hárok:</translation>
    </message>
</context>
</TS>
