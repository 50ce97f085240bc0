#pragma once

// Key and value names shared with the client and the downloader; they must not change.
namespace registry {

constexpr const char kCompanyKey[] = "Morrowfen";
constexpr const char kProfileName[] = "VANTREL";
constexpr const char kUserRoot[] = "Software\\Morrowfen\\VANTREL";

constexpr const char kSettingsKey[] = "Software\\Morrowfen\\VANTREL\\Settings";
constexpr const char kInstallPathValue[] = "Path";

constexpr const char kPreferencesSection[] = "CurrentVersion\\Preferences";
constexpr const char kUrlMonitorEntry[] = "URLMonitor";

constexpr const char kQueueSection[] = "CurrentVersion\\Scheduler\\Queue";
constexpr const char kQueueTable[] = "Software\\Morrowfen\\VANTREL\\CurrentVersion\\Scheduler\\Queue";

constexpr const char kTransferSection[] = "CurrentVersion\\RushXfer\\DB";
constexpr const char kTransferTable[] = "Software\\Morrowfen\\VANTREL\\CurrentVersion\\RushXfer\\DB";

constexpr const char kVersionEntry[] = "DBVER";
constexpr const char kQueueNameEntry[] = "QueueName";
constexpr const char kDataSizeEntry[] = "DataSize";
constexpr const char kDataEntry[] = "Data";

// Registry value types, as the platform numbers them.
constexpr unsigned kTypeString = 1;
constexpr unsigned kTypeExpandString = 2;
constexpr unsigned kTypeBinary = 3;
constexpr unsigned kTypeDword = 4;

// RegEnumKeyEx is given a buffer of this many bytes, NUL included.
constexpr unsigned kSubkeyNameBuffer = 128;
constexpr unsigned kMachineStringBuffer = 1024;

}  // namespace registry
