#include "platform/qt/Settings.h"

#include <algorithm>
#include <limits>

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

#include "platform/RegularFile.h"

namespace {

// Reads the values of one group, naming those that cannot be used and what is used instead.
class TSettingsReader {
public:
  explicit TSettingsReader(QSettings& Settings) : Settings(Settings) {}

  int64_t Integer(const QString& Name, int64_t Default, int64_t Min, int64_t Max) {
    if (!Settings.contains(Name)) return Default;
    bool ok = false;
    const int64_t value = Settings.value(Name).toString().trimmed().toLongLong(&ok);
    if (!ok) {
      Problem(Name, QStringLiteral("is not a number; %1 is used").arg(Default));
      return Default;
    }
    if (value < Min || value > Max) {
      const int64_t used = std::clamp(value, Min, Max);
      Problem(Name, QStringLiteral("is outside %1 to %2; %3 is used").arg(Min).arg(Max).arg(used));
      return used;
    }
    return value;
  }

  bool Boolean(const QString& Name, bool Default) {
    const QString text = Settings.value(Name).toString().trimmed().toLower();
    if (text == "true" || text == "false") return text == "true";
    return Integer(Name, Default, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()) != 0;
  }

  QString Text(const QString& Name) { return Settings.value(Name).toString(); }

  void Pad(const QString& Group, TPadKeys& Keys, bool& Enabled) {
    Settings.beginGroup(Group);
    Enabled = Boolean("ENABLED", Enabled);
    for (size_t k = 0; k < Keys.size(); ++k)
      Keys[k] = uint32_t(Integer(PadKeyNames[k], Keys[k], 0, std::numeric_limits<uint32_t>::max()));
    Settings.endGroup();
  }

  QStringList Problems;

private:
  void Problem(const QString& Name, const QString& What) {
    const QString group = Settings.group();
    Problems << QStringLiteral("%1 %2").arg(group.isEmpty() ? Name : group + "/" + Name, What);
  }

  QSettings& Settings;
};

// Why the file cannot be read as settings; empty when it can (or is not there).
QString Unreadable(const QString& Path) {
  const std::string kind = NotAFile(QFile::encodeName(Path).toStdString());
  if (!kind.empty()) return QStringLiteral("it is %1, not a file").arg(QString::fromStdString(kind));
  QFile file(Path);
  if (!file.exists()) return {};
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  const QByteArray text = file.readAll();
  // A settings file is UTF-8 text; decoding it tells.
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString decoded = utf8(text);
  if (text.contains('\0') || utf8.hasError()) return QStringLiteral("it is not a text file");
  return {};
}

void WritePad(QSettings& Settings, const QString& Group, const TPadKeys& Keys, bool Enabled) {
  Settings.beginGroup(Group);
  for (size_t k = 0; k < Keys.size(); ++k) Settings.setValue(PadKeyNames[k], Keys[k]);
  Settings.setValue("ENABLED", int(Enabled));
  Settings.endGroup();
}

} // namespace

TSettingsFile::TSettingsFile()
    : TSettingsFile(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                    QStringLiteral("/Brovane/Pixtor.conf")) {}

TSettingsFile::TSettingsFile(const QString& Path) {
  const QFileInfo info(Path);
  const QString target = info.isSymLink() ? info.canonicalFilePath() : QString();
  File = !info.isSymLink() ? Path : !target.isEmpty() ? target : info.symLinkTarget();
}

TSettings TSettingsFile::Load(QString& Message) {
  TSettings values;
  const QString unreadable = Unreadable(File);
  Writable = unreadable.isEmpty();
  QSettings settings(Writable ? File : QString(), QSettings::IniFormat);
  TSettingsReader read(settings);
  values.FrameRate = int32_t(read.Integer("FrameRate", values.FrameRate, 1, 10));
  values.SkinUsed = read.Text("Skin Used");
  values.SoundVolume = int32_t(read.Integer("SoundVolume", values.SoundVolume, 0, 255));
  for (size_t c = 0; c < values.SoundChannel.size(); ++c)
    values.SoundChannel[c] = read.Boolean(QStringLiteral("SoundChannel%1").arg(c + 1), true);
  values.ViewMode = int32_t(read.Integer("WIN", 0, std::numeric_limits<int32_t>::min(),
                                         std::numeric_limits<int32_t>::max()));
  values.ScreenMode = read.Text("SCREEN");
  for (int n = 0; n < SlotCount; ++n) values.Slots[n] = read.Text(QStringLiteral("MRU%1").arg(n + 1));
  read.Pad("JOY1", values.Pad1Keys, values.Pad1Enabled);
  read.Pad("JOY2", values.Pad2Keys, values.Pad2Enabled);

  settings.beginGroup("SKINS");
  for (const QString& name : settings.childKeys()) {
    const QString folder = read.Text(name);
    if (!folder.isEmpty()) values.SkinList << name + "=" + folder;
  }
  settings.endGroup();

  if (Writable && settings.status() == QSettings::FormatError) {
    Writable = false;
    values = TSettings();
    read.Problems = {QStringLiteral("the file is not a settings file")};
  } else if (!Writable) {
    read.Problems.prepend(unreadable);
  }
  if (!Writable)
    read.Problems << QStringLiteral("the defaults are used, and the file is kept as it is: "
                                    "settings are not saved when the window closes");
  Message = read.Problems.isEmpty()
                ? QString()
                : QStringLiteral("In the settings file %1:\n%2").arg(File, read.Problems.join("\n"));
  return values;
}

QString TSettingsFile::Save(const TSettings& Values) const {
  if (!Writable) return {};
  QSettings settings(File, QSettings::IniFormat);
  settings.setValue("FrameRate", Values.FrameRate);
  settings.setValue("Skin Used", Values.SkinUsed);
  settings.setValue("SoundVolume", Values.SoundVolume);
  for (size_t c = 0; c < Values.SoundChannel.size(); ++c)
    settings.setValue(QStringLiteral("SoundChannel%1").arg(c + 1), int(Values.SoundChannel[c]));
  settings.setValue("SCREEN", Values.ScreenMode);
  settings.setValue("WIN", Values.ViewMode);
  for (int n = 0; n < SlotCount; ++n) settings.setValue(QStringLiteral("MRU%1").arg(n + 1), Values.Slots[n]);
  WritePad(settings, "JOY1", Values.Pad1Keys, Values.Pad1Enabled);
  WritePad(settings, "JOY2", Values.Pad2Keys, Values.Pad2Enabled);

  settings.remove("SKINS");
  settings.beginGroup("SKINS");
  for (const QString& line : Values.SkinList) {
    const QString name = line.section('=', 0, 0);
    // A name listed twice keeps the first one's folder.
    if (!settings.contains(name)) settings.setValue(name, line.section('=', 1));
  }
  settings.endGroup();

  settings.sync();
  if (settings.status() != QSettings::NoError)
    return QStringLiteral("The settings could not be written to %1.").arg(File);
  return {};
}

QString SkinFolder(const QStringList& SkinList, const QString& Name) {
  for (const QString& line : SkinList)
    if (line.section('=', 0, 0).compare(Name, Qt::CaseInsensitive) == 0) return line.section('=', 1);
  return {};
}
