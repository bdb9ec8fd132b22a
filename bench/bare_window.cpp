// The yardstick of bench_startup: a bare Qt program that shows a QMainWindow
// of the given size and ends at its first paint, as the program does with
// --exit-after-first-paint.
//
// Usage: bench_bare_window <width>x<height>
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>

namespace {

class ExitAfterFirstPaint : public QObject {
  public:
    explicit ExitAfterFirstPaint(QWidget* window) : window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (!done_ && e->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_) {
            done_ = true;
            QTimer::singleShot(0, this, [] { QApplication::exit(0); });
        }
        return false;
    }

  private:
    QWidget* window_;
    bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    int width = 0, height = 0;
    if (argc < 2 || std::sscanf(argv[1], "%dx%d", &width, &height) != 2 || width <= 0 ||
        height <= 0) {
        std::fputs("usage: bench_bare_window <width>x<height>\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(width, height);
    ExitAfterFirstPaint exit(&window);
    app.installEventFilter(&exit);
    window.show();
    return QApplication::exec();
}
