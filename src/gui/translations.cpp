#include "gui/translations.h"

#include <QByteArray>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

namespace gui {

namespace {

// The catalogues of the Qt modules the program shows texts of.
constexpr const char* Catalogues[] = {"qtbase_zh_CN", "qtmultimedia_zh_CN", "qtwebengine_zh_CN"};

// The language the web engine's own pages use: Chromium's --lang, read when
// the engine starts (at the first web view), added to the flags the user
// may have set unless they name a language themselves.
void askWebEngineForChinese() {
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains("--lang=") || flags.contains("--lang ")) return;
    if (!flags.isEmpty()) flags += ' ';
    flags += "--lang=zh-CN";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

// The texts of the file dialog that Qt's Chinese catalogue lacks (the type
// column's words for folders and drives). Asked last, after every catalogue.
class MissingTexts : public QTranslator {
  public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                      int /*n*/) const override {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
        if (qstrcmp(source, "Folder") == 0) return QString::fromUtf8("文件夹");
        if (qstrcmp(source, "Drive") == 0) return QString::fromUtf8("驱动器");
        if (qstrcmp(source, "File") == 0) return QString::fromUtf8("文件");
        if (qstrcmp(source, "%1 File") == 0) return QString::fromUtf8("%1 文件");
        return {};
    }
};

}  // namespace

int installTranslations(QApplication& app) {
    // Sizes, dates and file types in Qt's own widgets (the file dialog's
    // columns) are written the Chinese way too.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    askWebEngineForChinese();
    // The translator installed last is asked first: these texts come last.
    QCoreApplication::installTranslator(new MissingTexts(&app));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    int installed = 0;
    for (const char* name : Catalogues) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(name), folder) &&
            QCoreApplication::installTranslator(translator))
            ++installed;
        else
            delete translator;
    }
    return installed;
}

}  // namespace gui
