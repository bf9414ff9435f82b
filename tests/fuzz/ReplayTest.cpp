// Every fuzz target, fed every file of its corpus folder: the seeds and the
// inputs that once broke a parser stay in the normal suite.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <map>
#include <string>

#include "tests/fuzz/FuzzTarget.h"

namespace kz::fuzz {

namespace {

std::map<std::string, Target>& Targets()
{
    static std::map<std::string, Target> targets;
    return targets;
}

QDir CorpusDir()
{
    return QDir(QStringLiteral(KZ_SOURCE_DIR "/tests/fuzz/corpus"));
}

std::vector<std::string> TargetNames()
{
    std::vector<std::string> names;
    for (const auto& entry : Targets())
        names.push_back(entry.first);
    return names;
}

}  // namespace

bool Register(const char* name, Target target)
{
    return Targets().emplace(name, target).second;
}

void ReportBrokenInvariant(const char* condition, const char* file, int line)
{
    ADD_FAILURE_AT(file, line) << "invariant broken: " << condition;
}

namespace {

class Replay : public testing::TestWithParam<std::string> {};

TEST_P(Replay, EveryCorpusFileKeepsTheInvariants)
{
    const QDir dir(CorpusDir().filePath(QString::fromStdString(GetParam())));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << "no seeds in " << dir.path().toStdString();
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        const QByteArray data = file.readAll();
        SCOPED_TRACE(file.fileName().toStdString());
        Targets().at(GetParam())(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, Replay, testing::ValuesIn(TargetNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(FuzzCorpus, EveryFolderBelongsToATarget)
{
    for (const QString& folder : CorpusDir().entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        EXPECT_TRUE(Targets().count(folder.toStdString())) << "corpus/" << folder.toStdString() << " has no target";
}

}  // namespace

}  // namespace kz::fuzz
