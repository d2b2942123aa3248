#pragma once

#include <QList>
#include <QObject>

// Controls that share one name and are addressed by index, with a Count.
// The members are owned by their container; the array only lists them.
class ControlArray : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint32 Count READ Count)

public:
    explicit ControlArray(const QString &name, QObject *parent = nullptr);

    qint32 Count() const { return qint32(m_members.size()); }
    void add(qint32 index, QObject *member);
    QObject *item(qint32 index) const;
    // The indices in use, in the order the members were added.
    QList<qint32> indices() const;

    template<typename T>
    T *at(qint32 index) const
    {
        return qobject_cast<T *>(item(index));
    }

private:
    QList<QPair<qint32, QObject *>> m_members;
};
