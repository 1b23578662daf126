// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/kmzarchive.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "interop/exchangeformat.h"
#include "interop/kmzmodule.h"

namespace tovik {

namespace {

QString TooLarge(const QString& name)
{
    return QStringLiteral("KMZ の中の %1 が大きすぎます（%2 MiB まで）。")
        .arg(name)
        .arg(KmzArchive::kLargestEntry / (1024 * 1024));
}

// The folders the dynamic linker searches for the program's own libraries, in its order:
// LD_LIBRARY_PATH, the program's RUNPATH, which names the module's folder ($ORIGIN/../lib/tovik
// where it is installed, the module folder of the build in the build tree), then the
// system's. The module is opened by its full path from there: dlopen of a bare name would
// search for whichever library calls it, which under the address sanitizer is not the
// program.
std::vector<std::string> ProgramLibraryFolders()
{
    void* program = dlopen(nullptr, RTLD_LAZY);
    Dl_serinfo size{};
    if (!program || dlinfo(program, RTLD_DI_SERINFOSIZE, &size) != 0)
        return {};
    const std::unique_ptr<Dl_serinfo, decltype(&std::free)> info(static_cast<Dl_serinfo*>(std::malloc(size.dls_size)),
                                                                  &std::free);
    std::vector<std::string> folders;
    if (info && dlinfo(program, RTLD_DI_SERINFOSIZE, info.get()) == 0 &&
        dlinfo(program, RTLD_DI_SERINFO, info.get()) == 0) {
        for (unsigned i = 0; i < info->dls_cnt; ++i)
            folders.emplace_back(info->dls_serpath[i].dls_name);
    }
    return folders;
}

struct Loaded {
    const KmzModule* module = nullptr;
    QString error;
};

// The module, opened once for the process and kept.
const Loaded& Module()
{
    static const Loaded loaded = [] {
        Loaded l;
        QString why = QStringLiteral("見つかりません");
        for (const std::string& folder : ProgramLibraryFolders()) {
            const std::string path = folder + "/" + KmzModule::kFileName;
            struct stat s {};
            if (::stat(path.c_str(), &s) != 0)
                continue;
            void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (!handle) {
                why = QString::fromLocal8Bit(dlerror());
                break;
            }
            using Entry = const KmzModule* (*)();
            const auto entry = reinterpret_cast<Entry>(dlsym(handle, KmzModule::kEntryPoint));
            const KmzModule* module = entry ? entry() : nullptr;
            if (module && module->version == KmzModule::kVersion) {
                l.module = module;
                return l;
            }
            why = QStringLiteral("%1 は別の版のものです").arg(QString::fromLocal8Bit(path.c_str()));
            break;
        }
        l.error = QStringLiteral("KMZ を読み書きするモジュール %1 を読みこめません（%2）。")
                      .arg(QString::fromLatin1(KmzModule::kFileName), why);
        return l;
    }();
    return loaded;
}

}  // namespace

Result<QByteArray, QString> KmzArchive::ReadDocument(const QByteArray& archive)
{
    const Loaded& loaded = Module();
    if (!loaded.module)
        return Failed{loaded.error};
    KmzModule::Document document = loaded.module->readDocument(archive, kLargestEntry);
    switch (document.problem) {
    case KmzModule::Problem::none:
        break;
    case KmzModule::Problem::notZip:
        return Failed{ExchangeFormat::NotWhatItSays(archive, "KMZ")};
    case KmzModule::Problem::noDocument:
        return Failed{QStringLiteral("KMZ の中に KML ファイルがありません。")};
    case KmzModule::Problem::tooLarge:
        return Failed{TooLarge(document.entry)};
    case KmzModule::Problem::unreadable:
        return Failed{QStringLiteral("KMZ の中の %1 を開けません。").arg(document.entry)};
    case KmzModule::Problem::damaged:
        return Failed{
            QStringLiteral("KMZ ファイルが壊れています（%1 の CRC-32 が合わないか、展開できません）。").arg(document.entry)};
    case KmzModule::Problem::encrypted:
        return Failed{QStringLiteral("KMZ の中の %1 は暗号化されているため読めません。").arg(document.entry)};
    }
    return std::move(document.bytes);
}

Result<QByteArray, QString> KmzArchive::Write(const QByteArray& document,
                                              const QList<QPair<QString, QByteArray>>& files)
{
    const Loaded& loaded = Module();
    if (!loaded.module)
        return Failed{loaded.error};
    QByteArray kmz = loaded.module->write(document, files);
    if (kmz.isEmpty())
        return Failed{QStringLiteral("KMZ ファイルを作れませんでした。")};
    return kmz;
}

}  // namespace tovik
