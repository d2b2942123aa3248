#pragma once

#include "settings/DialogAnswers.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// Default settings, a throwaway store and no queued dialog answers.
class OptionsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Settings::resetToDefaults();
        SettingsStore::useFile(dir.filePath(QStringLiteral("Zembrak.conf")));
        DialogAnswers::clear();
    }
    void TearDown() override
    {
        SettingsStore::useFile(QString());
        DialogAnswers::clear();
    }

    QString stored(const char *section, const char *key)
    {
        return SettingsStore::GetSetting(
            QLatin1String(section), QLatin1String(key), QStringLiteral("<absent>"));
    }

    QTemporaryDir dir;
};
