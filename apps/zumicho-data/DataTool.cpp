#include "DataTool.h"

#include "core/AtomicFile.h"
#include "core/Scramble.h"
#include "diary/MonthFile.h"

#include <QFileInfo>

namespace {

const char* const kUsage =
    "usage: zumicho-data decode FILE              write the plain bytes of a stored file\n"
    "       zumicho-data encode FILE              write the stored (scrambled) form of a plain file\n"
    "       zumicho-data month FILE [--password TEXT]\n"
    "                                             print the entries of a month file as UTF-8,\n"
    "                                             one a line, fields separated by tabs\n";

QString escapeField(QString field)
{
    field.replace(u'\\', QStringLiteral("\\\\"));
    field.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    field.replace(u'\n', QStringLiteral("\\n"));
    field.replace(u'\r', QStringLiteral("\\n"));
    field.replace(u'\t', QStringLiteral("\\t"));
    return field;
}

} // namespace

int runDataTool(const QStringList& arguments, QIODevice& out, QTextStream& err)
{
    if (arguments.size() < 2) {
        err << kUsage;
        return 2;
    }
    const QString command = arguments.at(0);
    const QString path = arguments.at(1);
    QString password;
    if (command == u"month" && arguments.size() == 4 && arguments.at(2) == u"--password") {
        password = arguments.at(3);
    } else if (arguments.size() != 2 || (command != u"decode" && command != u"encode" && command != u"month")) {
        err << kUsage;
        return 2;
    }
    if (!QFileInfo(path).isFile()) {
        err << "zumicho-data: no such file: " << path << "\n";
        return 1;
    }
    const ReadResult read = readWholeFile(path);
    if (!read.ok) {
        err << "zumicho-data: cannot read " << path << ": " << read.error << "\n";
        return 1;
    }
    if (command != u"month") {
        out.write(scrambleBytes(read.bytes)); // the transform is its own inverse
        return 0;
    }
    const MonthText month = parseMonthText(scrambleBytes(read.bytes), password);
    if (month.status == MonthText::Status::Refused) {
        err << "zumicho-data: " << path
            << ": the password does not match the file (give the start password with --password)\n";
        return 1;
    }
    if (month.status == MonthText::Status::Damaged) {
        err << "zumicho-data: " << path << ": damaged content, not a month file\n";
        return 1;
    }
    for (const EntryRecord& entry : month.entries) {
        QStringList fields;
        for (const QString& field : entry.fields)
            fields.append(escapeField(field));
        out.write(fields.join(u'\t').toUtf8() + '\n');
    }
    return 0;
}
