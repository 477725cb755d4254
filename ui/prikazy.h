#pragma once

// Command numbers of menus, toolbar and context menus; a command goes to the active view first,
// then to the session's commands in the frame, then to the frame and the application.
enum Prikaz : int {
    kPrikazOtvorit = 57601,
    kPrikazUlozAko = 57604,
    kPrikazNastavenieTlaciarne = 57606,
    kPrikazTlacit = 57607,
    kPrikazNahlad = 57609,
    kPrikazPredchadzajuce = 57616,
    kPrikazOPrograme = 57664,
    kPrikazKoniec = 57665,
    kPrikazNapoveda = 57670,
    kPrikazPanelNastrojov = 59392,
    kPrikazStavovyRiadok = 59393,
    kPrikazPanelUpravSutaze = 32784,
    kPrikazOZvaze = 32785,
    kPrikazPridat = 32789,
    kPrikazUpravit = 32790,
    kPrikazVymazat = 32791,
    kPrikazZaloha = 32792,
    kPrikazZmenaHesla = 32793,
    kPrikazPrihlasenie = 32795,
    kPrikazZlteKarty = 32797,
    kPrikazHladajHraca = 32800,
    kPrikazExport = 32810,
    kPrikazWww = 32811,
    kPrikazAmnestia = 32812,
    kPrikazZhutnit = 32814,
    // Beyond the old menu: a new, empty season file.
    kPrikazNovaSezona = 32900,
    // A demo season made up for trying the program out.
    kPrikazUkazkovaSezona = 32901,
    // A snapshot of the season opened as a new season file.
    kPrikazObnovitZoZalohy = 32902,
    // The whole season as a web site in a folder.
    kPrikazPublikovat = 32903,
    // The matches of the current competition (or of the season) as a calendar file.
    kPrikazKalendar = 32904,
    // Records of the shown register added from a spreadsheet's table.
    kPrikazImport = 32905,
    // The next season started from this one.
    kPrikazSezonaZTejto = 32906,
    // How clubs level on points are ordered.
    kPrikazPoradie = 32907,
    // A season kept in the Jet format converted into a new file.
    kPrikazPreviestSezonu = 32908,
    // The published site's address and what it shows.
    kPrikazNastavenieWebu = 32909,
    // What the list prints, written into a PDF file.
    kPrikazUlozitPdf = 32910,
    // How much the season's snapshots may take.
    kPrikazZalohy = 32911,
    // A season on a PostgreSQL server opened, and the open file season put onto one.
    kPrikazOtvoritZoServera = 32912,
    kPrikazUlozitNaServer = 32913,
    // Who changed what on a shared season, and when.
    kPrikazHistoriaZmien = 32914,
};
