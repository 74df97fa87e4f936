// A stand-in for another program: a window with two text fields that reports on standard
// output what they hold and which of them has the focus.
#include <QApplication>
#include <QLineEdit>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QWidget window;
    window.setWindowTitle(QStringLiteral("helper"));
    auto* layout = new QVBoxLayout(&window);
    for (const char* name : {"first", "second"}) {
        auto* edit = new QLineEdit(&window);
        edit->setObjectName(QLatin1String(name));
        layout->addWidget(edit);
        QObject::connect(edit, &QLineEdit::textChanged, edit, [&out, edit](const QString& text) {
            out << "text " << edit->objectName() << ' ' << text << Qt::endl;
        });
    }
    QObject::connect(&app, &QApplication::focusChanged, &app, [&out](QWidget*, QWidget* now) {
        if (now)
            out << "focus " << now->objectName() << Qt::endl;
    });
    window.setGeometry(400, 300, 300, 120);
    window.show();
    window.activateWindow();
    window.findChild<QLineEdit*>(QStringLiteral("first"))->setFocus();
    QTimer::singleShot(100, &window, [&] { out << "window " << window.winId() << Qt::endl; });
    return app.exec();
}
