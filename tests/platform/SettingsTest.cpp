#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "platform/qt/Settings.h"

namespace {

class SettingsTest : public testing::Test {
protected:
  QString Write(const QString& Name, const QByteArray& Contents) {
    QFile file(Dir.filePath(Name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Contents);
    return file.fileName();
  }
  QByteArray Read(const QString& Path) {
    QFile file(Path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }
  QString Path() const { return Dir.filePath("Pixtor.conf"); }

  QTemporaryDir Dir;
  QString Message;
};

TEST_F(SettingsTest, FirstStartTakesTheDefaults) {
  TSettingsFile file(Path());
  EXPECT_EQ(file.Load(Message), TSettings());
  EXPECT_TRUE(Message.isEmpty());
  const TSettings defaults;
  EXPECT_EQ(defaults.FrameRate, 3);
  EXPECT_EQ(defaults.SoundVolume, 255);
  EXPECT_EQ(defaults.Pad1Keys, (TPadKeys{38, 40, 37, 39, 32, 17, 13, 9}));
  EXPECT_EQ(defaults.Pad2Keys, (TPadKeys{69, 88, 83, 68, 16, 90, 81, 87}));
}

TEST_F(SettingsTest, SettingsGoRoundTheFile) {
  TSettings saved;
  saved.FrameRate = 7;
  saved.SoundVolume = 102;
  saved.SoundChannel = {true, false, true, false};
  saved.ViewMode = 1;
  saved.ScreenMode = "640x480x24";
  saved.SkinUsed = "Walnut";
  saved.SkinList = {"Walnut=/skins/walnut/", "Plain_Grey=/skins/grey/", "Walnut=/elsewhere/"};
  saved.Slots[3] = "/roms/game.nes";
  saved.Pad1Keys = {87, 83, 65, 68, 75, 76, 13, 9};
  saved.Pad2Enabled = true;
  TSettingsFile file(Path());
  EXPECT_TRUE(file.Save(saved).isEmpty());
  TSettings read = TSettingsFile(Path()).Load(Message);
  EXPECT_TRUE(Message.isEmpty());
  // A name listed twice is stored once, with the first one's folder.
  EXPECT_EQ(read.SkinList, QStringList({"Plain_Grey=/skins/grey/", "Walnut=/skins/walnut/"}));
  read.SkinList = saved.SkinList;
  EXPECT_EQ(read, saved);
}

TEST_F(SettingsTest, UnusableValuesAreNamedAndReplaced) {
  Write("Pixtor.conf", "[General]\nFrameRate=2147483647\nSoundVolume=9999\nSoundChannel2=maybe\n"
                       "WIN=x\n[JOY1]\nUP=up arrow\nA=75\n");
  const TSettings read = TSettingsFile(Path()).Load(Message);
  EXPECT_EQ(read.FrameRate, 10); // the settings dialog's largest frame skip
  EXPECT_EQ(read.SoundVolume, 255);
  EXPECT_TRUE(read.SoundChannel[1]);
  EXPECT_EQ(read.ViewMode, 0);
  EXPECT_EQ(read.Pad1Keys[0], 38u);
  EXPECT_EQ(read.Pad1Keys[4], 75u);
  for (const char* name : {"FrameRate", "SoundVolume", "SoundChannel2", "WIN", "JOY1/UP", "Pixtor.conf"})
    EXPECT_TRUE(Message.contains(name)) << name << " in " << Message.toStdString();
  EXPECT_FALSE(Message.contains("JOY1/A"));
  EXPECT_FALSE(Message.contains("not saved"));
}

TEST_F(SettingsTest, AFileThatCannotBeReadIsKeptAsItIs) {
  QByteArray utf16("\xFF\xFE", 2);
  for (char c : QByteArray("[General]\nFrameRate=5\n")) utf16.append(c).append('\0');
  QByteArray junk;
  for (int i = 0; i < 4096; ++i) junk.append(char((i * 7919) >> 3));
  for (const QByteArray& contents : {utf16, junk}) {
    Write("Pixtor.conf", contents);
    TSettingsFile file(Path());
    EXPECT_EQ(file.Load(Message), TSettings());
    EXPECT_TRUE(Message.contains("not saved")) << Message.toStdString();
    EXPECT_TRUE(file.Save(TSettings()).isEmpty());
    EXPECT_EQ(Read(Path()), contents);
  }
}

TEST_F(SettingsTest, AFileBehindALinkIsWrittenThroughIt) {
  QDir(Dir.path()).mkpath("dotfiles");
  const QString target = Write("dotfiles/Pixtor.conf", "[General]\nFrameRate=4\n");
  ASSERT_TRUE(QFile::link(target, Path()));
  TSettingsFile file(Path());
  TSettings settings = file.Load(Message);
  EXPECT_EQ(settings.FrameRate, 4);
  settings.FrameRate = 6;
  EXPECT_TRUE(file.Save(settings).isEmpty());
  EXPECT_TRUE(QFileInfo(Path()).isSymLink());
  EXPECT_EQ(QSettings(target, QSettings::IniFormat).value("FrameRate").toInt(), 6);

  // A link to a pipe: nothing waits for it, and it stays a pipe.
  const QString pipe = Dir.filePath("dotfiles/pipe");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  QFile::remove(Path());
  ASSERT_TRUE(QFile::link(pipe, Path()));
  TSettingsFile piped(Path());
  EXPECT_EQ(piped.Load(Message), TSettings());
  EXPECT_TRUE(Message.contains("pipe")) << Message.toStdString();
  EXPECT_TRUE(piped.Save(settings).isEmpty());
  struct stat info;
  ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(SettingsTest, SkinFolderIsTheFirstOfItsNameInAnyLetterCase) {
  const QStringList list = {"Oak=/o/", "Walnut=/a/", "walnut=/b/", "Broken"};
  EXPECT_EQ(SkinFolder(list, "Walnut"), "/a/");
  EXPECT_EQ(SkinFolder(list, "WALNUT"), "/a/");
  EXPECT_EQ(SkinFolder(list, "Wal"), "");
  EXPECT_EQ(SkinFolder(list, "Broken"), "");
}

} // namespace
