#include "diary/FieldTexts.h"

#include <algorithm>

namespace {

constexpr qsizetype kLongestShared = 40;

} // namespace

QString FieldTexts::intern(QStringView text)
{
    if (text.isEmpty())
        return QString();
    if (text.size() > kLongestShared)
        return text.toString();
    const auto found = m_texts.constFind(text);
    if (found != m_texts.cend())
        return found.value();
    const QString copy = text.toString();
    m_texts.insert(QStringView(copy), copy);
    return copy;
}

bool isSharedField(int field)
{
    return std::find(kOwnTextFields.begin(), kOwnTextFields.end(), field) == kOwnTextFields.end();
}
