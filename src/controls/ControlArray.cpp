#include "controls/ControlArray.h"

ControlArray::ControlArray(const QString &name, QObject *parent)
    : QObject(parent)
{
    setObjectName(name);
}

void ControlArray::add(qint32 index, QObject *member)
{
    m_members.append({index, member});
}

QObject *ControlArray::item(qint32 index) const
{
    for (const auto &[i, member] : m_members) {
        if (i == index)
            return member;
    }
    return nullptr;
}

QList<qint32> ControlArray::indices() const
{
    QList<qint32> all;
    all.reserve(m_members.size());
    for (const auto &member : m_members)
        all.append(member.first);
    return all;
}
