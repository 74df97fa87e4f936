#include "profile/Household.h"

#include "core/AtomicFile.h"
#include "core/IniFile.h"
#include "core/Scramble.h"
#include "profile/UserProfile.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString kSection = QStringLiteral("Person");
// Four digits are more people than any household enters contests for.
constexpr int kLastPerson = 9999;

} // namespace

QString personProfilePath(const AppPaths& paths, int person)
{
    if (person == kFirstPerson)
        return paths.profilePath();
    return paths.iniFolder() + QStringLiteral("/user%1.dat").arg(person);
}

QList<int> listPeople(const AppPaths& paths)
{
    // Kept copies such as "user2.dat.damaged-20261208" are not people.
    static const QRegularExpression further(QStringLiteral("^user([1-9][0-9]{0,3})\\.dat$"));
    QList<int> people{kFirstPerson};
    const QStringList names = QDir(paths.iniFolder()).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = further.match(name);
        const int number = match.hasMatch() ? match.captured(1).toInt() : 0;
        if (number > kFirstPerson)
            people << number;
    }
    std::sort(people.begin() + 1, people.end());
    return people;
}

int nextPersonNumber(const QList<int>& people)
{
    for (int n = kFirstPerson + 1; n <= kLastPerson; ++n) {
        if (!people.contains(n))
            return n;
    }
    return 0;
}

QString personLabel(const UserProfile& profile, int position)
{
    const QString name =
        (profile[ProfileKey::UserName1] + u' ' + profile[ProfileKey::UserName2]).trimmed();
    return name.isEmpty() ? QStringLiteral("%1人目").arg(position) : name;
}

QList<Person> loadHousehold(const AppPaths& paths)
{
    QList<Person> household;
    QStringList labels;
    for (const int number : listPeople(paths)) {
        const int position = static_cast<int>(household.size()) + 1;
        QString label =
            personLabel(loadUserProfileFile(personProfilePath(paths, number)), position);
        if (labels.contains(label))
            label += QStringLiteral("（%1人目）").arg(position);
        labels << label;
        household.append({number, label});
    }
    return household;
}

int parseChosenPerson(const QByteArray& plain)
{
    bool ok = false;
    const int person = GetIniValue(kSection, QStringLiteral("Chosen"), plain).toInt(&ok);
    return ok && person >= kFirstPerson && person <= kLastPerson ? person : kFirstPerson;
}

QByteArray formatChosenPerson(int person)
{
    return QByteArrayLiteral("[Person]\r\nChosen=") + QByteArray::number(person) +
           QByteArrayLiteral("\r\n");
}

int loadChosenPerson(const QString& path, StoredFile* file)
{
    StoredFile local;
    return parseChosenPerson(readStoredIniFile(path, kSection, 64 * 1024, file ? *file : local));
}

QString saveChosenPerson(const QString& path, int person)
{
    if (cannotBeRead(path))
        return QStringLiteral("「%1」を読み込めないため、上書きしません。")
            .arg(QDir::toNativeSeparators(path));
    return writeFileAtomically(path, scrambleBytes(formatChosenPerson(person)));
}
