#include "gui/engines.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <string>

namespace gui::engines {

namespace {

// Where the library is looked for: beside the program, where it is
// installed, and where it was built.
QStringList places() {
    const QDir here(QCoreApplication::applicationDirPath());
    QStringList out;
    out << here.filePath(QStringLiteral("zelbrin-engines.so"));
#ifdef ZELBRIN_ENGINES_INSTALLED
    out << here.filePath(QStringLiteral(ZELBRIN_ENGINES_INSTALLED));
#endif
#ifdef ZELBRIN_ENGINES_BUILT
    out << QStringLiteral(ZELBRIN_ENGINES_BUILT);
#endif
    return out;
}

Engines* load() {
    std::string reasons;
    for (const QString& place : places()) {
        const QByteArray file = QFile::encodeName(place);
        void* library = ::dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            if (const char* why = ::dlerror()) reasons += std::string("\n  ") + why;
            continue;
        }
        // Never unloaded: the engines live as long as the program.
        using Entry = Engines* (*)();
        if (auto entry = reinterpret_cast<Entry>(::dlsym(library, "zelbrinEngines")))
            return entry();
        reasons += "\n  " + file.toStdString() + ": no entry point";
    }
    std::fprintf(stderr, "zelbrin: the web and media engines cannot be loaded:%s\n",
                 reasons.c_str());
    return nullptr;
}

}  // namespace

Engines* engines() {
    static Engines* const loaded = load();
    return loaded;
}

}  // namespace gui::engines
