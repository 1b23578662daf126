// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/projgrid.h"

#include <dlfcn.h>
#include <proj.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <string_view>

#include "core/result.h"

namespace tovik {

const char* const ProjGrid::kLibrary = TOVIK_PROJ_LIBRARY;

namespace {

// The few functions of PROJ used here, with the types its header gives them.
struct Api {
    decltype(&proj_context_create) contextCreate = nullptr;
    decltype(&proj_context_destroy) contextDestroy = nullptr;
    decltype(&proj_context_errno) contextErrno = nullptr;
    decltype(&proj_context_errno_string) contextErrnoString = nullptr;
    decltype(&proj_log_level) logLevel = nullptr;
    decltype(&proj_create_from_database) createFromDatabase = nullptr;
    decltype(&proj_coordoperation_is_instantiable) isInstantiable = nullptr;
    decltype(&proj_trans) trans = nullptr;
    decltype(&proj_errno) errnoOf = nullptr;
    decltype(&proj_errno_reset) errnoReset = nullptr;
    decltype(&proj_destroy) destroy = nullptr;
};

template <typename Function>
bool Resolve(void* library, const char* name, Function& function, std::string& missing)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (!function)
        missing = name;
    return function != nullptr;
}

// PROJ loaded and its functions resolved, once for the process (the library stays loaded).
Result<const Api*> LoadApi()
{
    struct Loaded {
        Api api;
        std::string error;
    };
    static const Loaded loaded = [] {
        Loaded l;
        void* library = dlopen(ProjGrid::kLibrary, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            l.error = dlerror();
            return l;
        }
        std::string missing;
        Api& a = l.api;
        if (!(Resolve(library, "proj_context_create", a.contextCreate, missing) &&
              Resolve(library, "proj_context_destroy", a.contextDestroy, missing) &&
              Resolve(library, "proj_context_errno", a.contextErrno, missing) &&
              Resolve(library, "proj_context_errno_string", a.contextErrnoString, missing) &&
              Resolve(library, "proj_log_level", a.logLevel, missing) &&
              Resolve(library, "proj_create_from_database", a.createFromDatabase, missing) &&
              Resolve(library, "proj_coordoperation_is_instantiable", a.isInstantiable, missing) &&
              Resolve(library, "proj_trans", a.trans, missing) &&
              Resolve(library, "proj_errno", a.errnoOf, missing) &&
              Resolve(library, "proj_errno_reset", a.errnoReset, missing) &&
              Resolve(library, "proj_destroy", a.destroy, missing)))
            l.error = std::string(ProjGrid::kLibrary) + " has no " + missing;
        return l;
    }();
    if (!loaded.error.empty())
        return Failed{loaded.error};
    return &loaded.api;
}

bool IsFile(const std::string& path)
{
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode);
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

struct ProjGrid::Proj {
    const Api* api = nullptr;
    PJ_CONTEXT* context = nullptr;
    PJ* operation = nullptr;
    ~Proj()
    {
        if (operation)
            api->destroy(operation);
        if (context)
            api->contextDestroy(context);
    }
};

std::vector<std::string> ProjGrid::SearchFolders()
{
    std::vector<std::string> folders;
    if (Environment("PROJ_SKIP_READ_USER_WRITABLE_DIRECTORY").empty()) {
        if (const std::string data = Environment("XDG_DATA_HOME"); !data.empty())
            folders.push_back(data + "/proj");
        else if (const std::string home = Environment("HOME"); !home.empty())
            folders.push_back(home + "/.local/share/proj");
    }
    std::string data = Environment("PROJ_DATA");
    if (data.empty())
        data = Environment("PROJ_LIB");
    if (data.empty())
        data = "/usr/share/proj";
    for (std::string_view rest = data; !rest.empty();) {
        const std::size_t colon = rest.find(':');
        if (const std::string_view folder = rest.substr(0, colon); !folder.empty())
            folders.emplace_back(folder);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return folders;
}

std::string ProjGrid::FindGrid()
{
    for (const std::string& folder : SearchFolders()) {
        if (const std::string path = folder + "/" + kGridFile; IsFile(path))
            return path;
    }
    return {};
}

ProjGrid::ProjGrid() : proj(std::make_unique<Proj>())
{
    const Result<const Api*> loaded = LoadApi();
    if (!loaded) {
        error = "PROJ (" + std::string(kLibrary) + ") を読みこめないため、" + kGridFile +
                " で座標を変換できません: " + loaded.Error();
        return;
    }
    proj->api = loaded.Value();
    const Api& api = *proj->api;
    proj->context = api.contextCreate();
    if (!proj->context) {
        error = "PROJ を始められませんでした。";
        return;
    }
    // Failures are reported through Error() and the results, not printed.
    api.logLevel(proj->context, PJ_LOG_NONE);
    // The operation by its own code: PROJ's choice among the operations from Tokyo would
    // take the Korean one (EPSG:1305) in northern Kyushu.
    proj->operation = api.createFromDatabase(proj->context, "EPSG", "6712", PJ_CATEGORY_COORDINATE_OPERATION,
                                             0, nullptr);
    if (!proj->operation || !api.isInstantiable(proj->context, proj->operation)) {
        error = std::string("PROJ で EPSG:6712（") + kGridFile + "）を使えません: " +
                api.contextErrnoString(proj->context, api.contextErrno(proj->context));
        if (proj->operation)
            api.destroy(proj->operation);
        proj->operation = nullptr;
    }
}

ProjGrid::~ProjGrid() = default;

std::optional<GeoPoint> ProjGrid::Transform(GeoPoint in, bool forward) const
{
    if (!proj->operation)
        return std::nullopt;
    const Api& api = *proj->api;
    // EPSG operations take their axes as the EPSG geographic CRSs define them: latitude
    // first, in degrees.
    PJ_COORD c{};
    c.v[0] = in.latitude;
    c.v[1] = in.longitude;
    api.errnoReset(proj->operation);
    const PJ_COORD out = api.trans(proj->operation, forward ? PJ_FWD : PJ_INV, c);
    if (api.errnoOf(proj->operation) != 0 || !std::isfinite(out.v[0]) || !std::isfinite(out.v[1]) ||
        out.v[0] == HUGE_VAL || out.v[1] == HUGE_VAL)
        return std::nullopt;
    return GeoPoint{out.v[0], out.v[1]};
}

}  // namespace tovik
