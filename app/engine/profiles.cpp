#include "app/engine/profiles.h"

#include "app/core/error_trap.h"
#include "app/core/forms.h"
#include "app/core/report_entries.h"
#include "app/core/shared_state.h"
#include "app/engine/import_progress.h"
#include "app/engine/record_walk.h"
#include "app/engine/runtime_values.h"
#include "app/engine/url_levels.h"
#include "platform/net/case_fold.h"
#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "platform/ui/do_events.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"

#include <array>

namespace {

// A schema write the destination passes over.
constexpr com::HRESULT kSchemaValueIgnored = com::MakeHResult(0x80040E94);

constexpr int kModeWrite = 2;
constexpr int kCreateNonCollection = 0;

constexpr const char* kPropertyNameProperty = "urn:schemas-microsoft-com:xml-data#name";
constexpr const char* kRequiredProperty = "urn:schemas-microsoft-com:exch-Data:isrequired";
constexpr const char* kMultiValuedProperty = "urn:schemas-microsoft-com:exch-Data:ismultivalued";
constexpr const char* kExtendedTypeProperty = "urn:schemas-microsoft-com:publishing:extended-type";
constexpr const char* kDictionaryProperty = "urn:schemas-microsoft-com:exch-data:dictionary";
constexpr const char* kDisplayContextProperty = "urn:schemas-microsoft-com:publishing:displaycontext";
constexpr const char* kSynchronizeProperty = "urn:schemas-microsoft-com:exch-data:synchronize";
constexpr const char* kPropertyOrderProperty = "urn:schemas-microsoft-com:publishing:propertyorder";

constexpr std::array<ProfileType, 5> kProfileTypes{{
    {"Number", "i4", false},
    {"List", "string", true},
    {"Date", "dateTime", false},
    {"Text", "string", false},
    {"Comment Box", "string", false},
}};

// Profile copies of a single workspace pair or of queued pairs move the bar
// and name the workspaces; those inside a workspace run do not.
bool ProfileProgressShown() { return gReplicationType == 3 || gReplicationType == 0; }

std::string OrNull(const std::string& text) { return text.empty() ? "NULL" : text; }

void ShowProfilePercentage(ErrorTrap& trap)
{
    trap.step([] { ui::DoEvents(); });
    trap.step([] {
        ImportingForm& dialog = ImportingDialog();
        dialog.setLblPercentage(PercentageText(dialog.progressBar1Value(), kProfileCompletedSuffix));
    });
    trap.step([] { ui::DoEvents(); });
}

// A workspace's profiles copied onto themselves would rewrite the source's own
// definitions: refused, with a log line.
bool ProfilesOntoThemselves(ErrorTrap& trap, const std::string& sourceWorkspace, const std::string& destinationWorkspace)
{
    if (!IsSameOrWithin(destinationWorkspace, sourceWorkspace)) return false;
    trap.logError(com::E_INVALIDARG, "The profiles of \"" + sourceWorkspace + "\" cannot be copied onto themselves");
    return true;
}

// Reads one property definition of the source schema and creates or updates
// it in the destination schema, when its extended type is one that is copied.
void CopyPropertyDefinition(ErrorTrap& trap, const std::string& sourceSchema, const std::string& destinationSchema,
                            const std::string& itemName)
{
    store::SpsPropertyDef definition;
    definition.setPreOpenFlag(false);
    trap.step([&] { definition.DataSource().Open(sourceSchema + "/" + itemName, 0, -1); });
    const std::string href = trap.value([&] { return definition.field("DAV:href").toString(); });
    store::SpsPropertyDef item;
    item.setPreOpenFlag(false);
    trap.step([&] { item.DataSource().Open(href, 0, -1); });
    const std::string parseName = OrNull(trap.value([&] { return item.field("RESOURCE_PARSENAME").toString(); }));

    const std::string propertyName =
        OrNull(trap.value([&] { return definition.property(kPropertyNameProperty).toString(); }));
    const std::string title = OrNull(trap.value([&] { return definition.title(); }));
    const std::string description = OrNull(trap.value([&] { return definition.description(); }));
    const bool required = trap.value([&] { return definition.property(kRequiredProperty).toBool(); });
    const bool multiValued = trap.value([&] { return definition.property(kMultiValuedProperty).toBool(); });
    const std::string extendedType =
        OrNull(trap.value([&] { return definition.property(kExtendedTypeProperty).toString(); }));
    com::Variant listValues("NULL");
    if (extendedType == "List") trap.step([&] { listValues = definition.property(kDictionaryProperty); });

    const std::optional<ProfileType> type = MatchProfileType(extendedType);
    if (!type) return;
    trap.step([&] {
        CreateProfilesA(destinationSchema + "/" + parseName, propertyName, title, description, required,
                        std::string(type->name), multiValued, type->copiesListValues ? listValues : com::Variant(""));
    });
}

} // namespace

std::optional<ProfileType> MatchProfileType(std::string_view extendedType)
{
    for (const ProfileType& type : kProfileTypes)
        if (net::EqualsIgnoringCase(type.name, extendedType)) return type;
    return std::nullopt;
}

void CheckPerm_CreateProfiles()
{
    ErrorTrap trap("in CheckPerm_CreateProfiles");
    if (!trap.value([] { return CheckPermissionForCoordinator(); }, false)) {
        ui::MsgBox("Please make sure you are the \u201Ccoordinator\u201D for this workspace.", ui::vbExclamation);
        return;
    }
    trap.step([] { MainWindow().setCreateProfileEnabled(false); });
    trap.step([] { ui::SetMousePointer(ui::vbHourglass); });
    trap.step([] { ui::DoEvents(); });
    trap.step([] {
        CreateProfilesInDestination(std::to_string(gReplicationType), ExtractWorkspaceName(MainWindow().txtTop()),
                                    ExtractWorkspaceName(MainWindow().txtBottom()));
    });
    if (!gCancelImport) {
        trap.step([] {
            ManageContentClasses(ExtractWorkspaceName(MainWindow().txtTop()),
                                 ExtractWorkspaceName(MainWindow().txtBottom()));
        });
    }
    trap.step([] { ui::SetMousePointer(ui::vbDefault); });
    if (gCancelImport)
        ui::MsgBox("Tarvex failed to create profiles in the destination server due to user action.", ui::vbInformation);
}

void CreateProfilesInDestination(const std::string& type, const std::string& sourceWorkspace,
                                 const std::string& destinationWorkspace)
{
    ErrorTrap trap("in CreateProfilesInDestination");
    if (ProfilesOntoThemselves(trap, sourceWorkspace, destinationWorkspace)) return;
    trap.step([] { ImportingDialog().setCaption("Copying Profiles..."); });
    trap.step([] { ImportingDialog().setLblStatus("Initiating..."); });
    trap.step([] { ui::DoEvents(); });
    ado::Recordset items = trap.value([&] { return GetProfilesInSource(sourceWorkspace + "/system/schema"); });
    gProgressStep = 5;
    trap.step([&] { gReplicationType = IntegerFromText(type); });
    if (ProfileProgressShown()) trap.step([] { UpdateImportProgress(); });
    trap.step([&] { CreateProfiles(sourceWorkspace + "/system/schema", destinationWorkspace + "/system/schema", items); });
}

ado::Recordset GetProfilesInSource(const std::string& url)
{
    ErrorTrap trap("in GetProfilesInSource");
    return FolderItemsOrEmpty(trap, url);
}

void CreateProfiles(const std::string& sourceSchema, const std::string& destinationSchema, ado::Recordset& items)
{
    ErrorTrap trap("in CreateProfiles");
    trap.on(store::errItemExists);

    if (ProfileProgressShown()) {
        trap.step([] { ImportingDialog().setLblStatus("Copying the source profiles to the target workspace..."); });
        trap.step([&] { ImportingDialog().setLblSource("Source: " + ExtractWorkspaceName(sourceSchema)); });
        trap.step([&] { ImportingDialog().setLblDest("Target: " + ExtractWorkspaceName(destinationSchema)); });
    }
    int count = 0;
    for (; !AtEnd(trap, items); MoveNext(trap, items)) ++count;
    trap.step([&] { gProgressStep = Divide(80, count); });
    trap.step([&] { items.moveFirst(); });

    for (; !gCancelImport && !AtEnd(trap, items); MoveNext(trap, items)) {
        if (ProfileProgressShown()) trap.step([] { UpdateImportProgress(); });
        ShowProfilePercentage(trap);
        const std::string itemName = RowName(trap, items);
        if (ContainsIgnoringCase(itemName, "xml")) CopyPropertyDefinition(trap, sourceSchema, destinationSchema, itemName);
    }
}

void CreateProfilesA(const std::string& url, const std::string& propertyName, const std::string& title,
                     const std::string& description, bool required, const std::string& typeName, bool multiValued,
                     const com::Variant& listValues)
{
    bool isNew = false;
    ErrorTrap trap("in CreateProfilesA");
    trap.on(store::errItemNotFound, [&] { isNew = true; });
    trap.on(kSchemaValueIgnored);

    store::SpsPropertyDef definition;
    definition.setPreOpenFlag(false);
    trap.step([&] { definition.DataSource().Open(url, 0, -1); });
    trap.step([&] { definition.setPropertyName(propertyName); });
    if (isNew) {
        trap.step([&] { definition.setTitle(title); });
        trap.step([&] { definition.setDescription(description); });
    }
    trap.step([&] { definition.setRequired(required); });
    trap.step([&] { definition.setProperty(kExtendedTypeProperty, typeName); });
    trap.step([&] { definition.setProperty(kDisplayContextProperty, std::int32_t(7)); });
    trap.step([&] { definition.setDataType(std::string(MatchProfileType(typeName).value_or(ProfileType{}).dataType)); });
    trap.step([&] { definition.setMultiValued(multiValued); });
    trap.step([&] { definition.setListValues(listValues); });
    trap.step([&] { definition.setIndexed(true); });
    trap.step([&] { definition.setSearchable(true); });
    trap.step([&] { definition.setRetrievable(true); });
    trap.step([&] { definition.setProperty(kSynchronizeProperty, false); });
    trap.step([&] { definition.setReadOnly(false); });
    trap.step([&] { definition.setVisible(true); });

    const std::string workspace = ExtractWorkspaceName(url);
    if (isNew) {
        bool saved = false;
        trap.step([&] {
            definition.DataSource().SaveTo(url, kModeWrite, kCreateNonCollection);
            saved = true;
        });
        // A definition that could not be saved is not reported as created.
        AddPropertyLogEntry(title, workspace, saved ? "Created Successfully." : "Property could not be created.");
        return;
    }
    trap.step([&] { definition.DataSource().Save(); });
    AddPropertyLogEntry(trap.value([&] { return definition.title(); }), workspace, "Property already exists.");
}

void ManageContentClasses(const std::string& sourceWorkspace, const std::string& destinationWorkspace)
{
    ErrorTrap trap("in ManageContentClasses");
    if (ProfilesOntoThemselves(trap, sourceWorkspace, destinationWorkspace)) return;
    store::SpsWorkspace workspace;
    workspace.setPreOpenFlag(false);
    trap.step([&] { workspace.DataSource().Open(sourceWorkspace, 0, -1); });
    const com::Variant classes = trap.value([&] { return workspace.ContentClasses(); });
    trap.step([] { ImportingDialog().setLblStatus("Copying the Source Content classes to the target workspace..."); });
    trap.step([] { ui::DoEvents(); });

    const std::vector<com::Variant> classNames = trap.value([&] { return classes.deref().array().elements; });
    for (const com::Variant& contentClass : classNames) {
        const std::string name = trap.value([&] { return ExtractName(contentClass.toString()); });
        trap.step([&] {
            CreateContentClass(sourceWorkspace + "/system/schema/" + name + "_CC.xml",
                               destinationWorkspace + "/system/schema/" + name + "_CC.xml");
        });
        trap.step([&] { gProgressStep = Divide(20, double(classNames.size())); });
        if (ProfileProgressShown()) trap.step([] { UpdateImportProgress(); });
        ShowProfilePercentage(trap);
    }
}

void CreateContentClass(const std::string& source, const std::string& destination)
{
    bool isNew = false;
    ErrorTrap trap("in CreateContentClass");
    trap.on(store::errItemNotFound, [&] { isNew = true; });
    trap.on({kSchemaValueIgnored, store::errPropertyNotFound});

    store::SpsContentClass sourceClass;
    store::SpsContentClass destinationClass;
    sourceClass.setPreOpenFlag(false);
    destinationClass.setPreOpenFlag(false);
    trap.step([&] { sourceClass.DataSource().Open(source, 0, -1); });
    trap.step([&] { destinationClass.DataSource().Open(destination, 0, -1); });
    trap.step([&] { destinationClass.setClassName(sourceClass.className()); });
    trap.step([&] { destinationClass.setContentClass(sourceClass.contentClass()); });
    trap.step([&] { destinationClass.setBaseClasses(sourceClass.baseClasses()); });
    trap.step([&] { destinationClass.setMemberProperties(sourceClass.memberProperties()); });
    if (isNew) {
        trap.step([&] { destinationClass.setTitle(sourceClass.title()); });
        trap.step([&] { destinationClass.setDescription(sourceClass.description()); });
    }
    trap.step([&] { destinationClass.setProperty(kPropertyOrderProperty, sourceClass.property(kPropertyOrderProperty)); });
    if (isNew)
        trap.step([&] { destinationClass.DataSource().SaveTo(destination, 0, 0, 0); });
    else
        trap.step([&] { destinationClass.DataSource().Save(); });
}

std::string ExtractName(const std::string& text)
{
    const auto colon = text.rfind(':');
    return colon == std::string::npos ? text : text.substr(colon + 1);
}
