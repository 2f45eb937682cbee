// The guide's articles: HTML pages in folders of their own below Poradnik.
#pragma once

#include <QString>
#include <QStringList>

namespace morvin::guide {

// The article names, which are also their folder names, in list order.
QStringList articleNames();

// ".\Poradnik\" + name + "\index.htm"; an empty name gives the guide
// folder's own page (".\Poradnik\\index.htm").
QString articlePath(const QString& name);

// Where that page lies: the Windows-style path resolved against the data folder.
QString articleFile(const QString& name);

}  // namespace morvin::guide
