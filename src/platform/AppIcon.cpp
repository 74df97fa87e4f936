#include "platform/AppIcon.h"

QIcon applicationIcon()
{
    return QIcon(QStringLiteral(":/zumicho/zumicho.svg"));
}
