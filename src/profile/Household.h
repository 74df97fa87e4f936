#pragma once

#include "core/AppPaths.h"
#include "core/DamagedFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct UserProfile;

// The people of one household whose profiles the assistant types. Person 1 is "user.dat";
// each further person has a file of the same format beside it, "user2.dat", "user3.dat" ...
// The files themselves are the list: a person is there exactly while the file is, so no
// second record can disagree with them.
constexpr int kFirstPerson = 1;

QString personProfilePath(const AppPaths& paths, int person);

// Person 1, then the numbers of the further people's files, in order.
QList<int> listPeople(const AppPaths& paths);

// The lowest number that no person of `people` has, for the next one added.
int nextPersonNumber(const QList<int>& people);

struct Person
{
    int number = kFirstPerson;
    QString label; // what the person choice shows
};

// The people with their labels: the kanji name of each profile, "2人目" and so on for one
// without a name, and the place in the list after a name that an earlier person has too.
QList<Person> loadHousehold(const AppPaths& paths);
QString personLabel(const UserProfile& profile, int position);

// Which person the assistant types, kept in a small scrambled file of its own: the plain
// form is "[Person]", "Chosen=" and the person's number, CR LF. A missing, damaged or
// unusable value gives person 1; `file` tells how the file was found.
int parseChosenPerson(const QByteArray& plainBytes);
QByteArray formatChosenPerson(int person);
int loadChosenPerson(const QString& path, StoredFile* file = nullptr);
// Empty on success, else what went wrong; a file that cannot be read is left alone.
QString saveChosenPerson(const QString& path, int person);
