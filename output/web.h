#pragma once

#include <QString>

// The maker's web site: the foot of every page and printout, and "Agenda Mirak na www".
inline const QString kWebVyrobcu = QStringLiteral("http://www.kestrix.sk");
inline const QString kWebVyrobcuText = QStringLiteral("www.kestrix.sk");
inline const QString kWebProduktu = QStringLiteral("http://www.kestrix.sk/index.php?lang=sk&show=91");
