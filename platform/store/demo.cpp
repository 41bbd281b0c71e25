// The demo network: a populated source server and two empty targets, in two
// domains with their controllers, accounts, shares and permissions, an
// Exchange server and older machines.

#include "platform/store/admin.h"

#include "platform/net/accounts.h"
#include "platform/net/atomic_file.h"
#include "platform/net/domains.h"
#include "platform/net/network.h"
#include "platform/net/security.h"
#include "platform/net/shares.h"
#include "platform/store/errors.h"
#include "platform/store/item_url.h"
#include "platform/sys/user.h"

#include <algorithm>
#include <cctype>
#include <unistd.h>

namespace store {

namespace {

constexpr char kDomain[] = "TARVEXNET";
constexpr char kBerlinDomain[] = "BERLIN";
constexpr char kOffice[] = "urn:schemas-microsoft-com:office:office#";

std::string office(const char* name)
{
    return std::string(kOffice) + name;
}

std::string accountIn(const char* user)
{
    return std::string(kDomain) + "\\" + user;
}

// This machine's name as the network shows it.
std::string localMachineName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || !net::IsSafeName(name)) return "WORKSTATION";
    std::string upper(name);
    upper = upper.substr(0, upper.find('.'));
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return upper.empty() ? "WORKSTATION" : upper;
}

std::string domainOf(const std::string& account)
{
    const std::size_t separator = account.find('\\');
    return separator == std::string::npos ? std::string() : account.substr(0, separator);
}

std::string textContent(std::size_t size, const std::string& line)
{
    std::string text;
    while (text.size() < size) text += line + "\n";
    text.resize(size);
    return text;
}

net::HostInfo addHost(const std::string& name, const std::string& domain, const std::string& administrator,
                      const std::string& serverType = "server", const std::string& osVersion = "5.0")
{
    net::HostInfo host;
    if (std::optional<net::HostInfo> existing = net::FindHost(name)) host = *existing;
    host.name = name;
    host.domain = domain;
    host.serverType = serverType;
    host.osVersion = osVersion;
    host.administrators = {administrator};
    return net::SaveHost(host);
}

void setRecord(const std::string& name, const std::string& comment, std::vector<std::string> addresses,
               std::vector<std::string> services = {})
{
    net::HostInfo host = *net::FindHost(name);
    host.comment = comment;
    host.addresses = std::move(addresses);
    for (std::string& service : services) host.services.push_back(std::move(service));
    net::SaveHost(host);
}

void addAccount(const std::string& host, const std::string& name, net::AccountKind kind, const std::string& fullName,
                const std::string& comment, std::vector<std::string> members = {})
{
    net::SaveAccount(*net::FindHost(host), {name, kind, fullName, comment, std::move(members), ""});
}

void addUser(const std::string& host, const std::string& name, const std::string& fullName, const std::string& comment = "")
{
    addAccount(host, name, net::AccountKind::User, fullName, comment);
}

// The built-in users every Windows machine has.
void addBuiltinUsers(const std::string& host)
{
    addUser(host, "Administrator", "", "Built-in account for administering the computer/domain");
    addUser(host, "Guest", "", "Built-in account for guest access to the computer/domain");
}

// The built-in Administrators group: the host's Administrator and the given
// account.
void addAdministratorsGroup(const std::string& host, const std::string& member)
{
    addAccount(host, "Administrators", net::AccountKind::LocalGroup, "",
               "Administrators have complete and unrestricted access to the computer/domain",
               {net::AccountDomainOf(*net::FindHost(host)) + "\\Administrator", member});
}

void addFile(const std::string& host, const net::DrivePath& folder, const std::string& name, const std::string& text)
{
    const std::filesystem::path path = net::DriveFolder(*net::FindHost(host), folder);
    std::filesystem::create_directories(path);
    net::WriteFileAtomically(path / name, text);
}

net::Ace ace(net::AceType type, std::uint32_t mask, const std::string& account)
{
    return {type, mask, net::AccountDirectory().lookupName(account).value().sid};
}

// The controllers of TARVEXNET and BERLIN with their users and groups; the
// current user, when of TARVEXNET, is one of its domain administrators.
void buildDomains(const std::string& user)
{
    addHost("BERLINDC", kBerlinDomain, user, "domain_controller");
    setRecord("BERLINDC", "Domain controller Berlin", {"10.1.0.2"});
    addBuiltinUsers("BERLINDC");
    addUser("BERLINDC", "jonas", "Jonas Weber", "Vertrieb Nord");
    addUser("BERLINDC", "lena", "Lena Krüger", "Vertrieb Süd");
    addAccount("BERLINDC", "Domain Users", net::AccountKind::GlobalGroup, "", "All domain users",
               {"Administrator", "jonas", "lena"});
    addAccount("BERLINDC", "Vertrieb", net::AccountKind::GlobalGroup, "", "Sales team Berlin", {"jonas", "lena"});
    addAccount("BERLINDC", "Domain Admins", net::AccountKind::GlobalGroup, "", "Designated administrators of the domain",
               {"Administrator"});
    addAdministratorsGroup("BERLINDC", "BERLIN\\Domain Admins");

    addHost("TARVEXDC", kDomain, user, "domain_controller");
    setRecord("TARVEXDC", "Domain controller", {"10.0.0.2"});
    addBuiltinUsers("TARVEXDC");
    const std::vector<std::string> people{"anna", "bernd", "carla", "dieter", "erik", "frieda"};
    const std::vector<std::string> fullNames{"Anna Berg", "Bernd Roth", "Carla Diaz", "Dieter Hahn", "Erik Lund",
                                             "Frieda Vogel"};
    for (std::size_t i = 0; i < people.size(); ++i) addUser("TARVEXDC", people[i], fullNames[i]);
    std::vector<std::string> admins{"Administrator"};
    if (domainOf(user) == kDomain) {
        const std::string name = user.substr(user.find('\\') + 1);
        if (!net::FindAccount(*net::FindHost("TARVEXDC"), name)) addUser("TARVEXDC", name, "", "The demo's user");
        admins.push_back(name);
    }
    for (const char* machine : {"SPSSOURCE$", "SPSTARGET$", "MAILSRV$"}) addUser("TARVEXDC", machine, "", "");
    std::vector<std::string> everyone{"Administrator"};
    everyone.insert(everyone.end(), people.begin(), people.end());
    addAccount("TARVEXDC", "Domain Users", net::AccountKind::GlobalGroup, "", "All domain users", everyone);
    addAccount("TARVEXDC", "Domain Admins", net::AccountKind::GlobalGroup, "", "Designated administrators of the domain",
               admins);
    addAccount("TARVEXDC", "Domain Computers", net::AccountKind::GlobalGroup, "", "All servers of the domain",
               {"SPSSOURCE$", "SPSTARGET$", "MAILSRV$"});
    addAccount("TARVEXDC", "Marketing", net::AccountKind::GlobalGroup, "", "Marketing department", {"anna", "bernd", "frieda"});
    addAccount("TARVEXDC", "Research", net::AccountKind::GlobalGroup, "", "Research and development",
               {"carla", "dieter", "erik"});
    addAdministratorsGroup("TARVEXDC", "TARVEXNET\\Domain Admins");
    addAccount("TARVEXDC", "Document Editors", net::AccountKind::LocalGroup, "", "May change the shared documents",
               {"TARVEXNET\\Marketing", "BERLIN\\Vertrieb", "TARVEXNET\\erik"});

    net::SaveDomain({kDomain, {kBerlinDomain}});
    net::SaveDomain({kBerlinDomain, {kDomain}});
}

// Machines that network browsing tells apart: an Exchange server, a Windows
// NT 4.0 file server and a Windows 98 desktop.
void buildOtherMachines(const std::string& user)
{
    addHost("MAILSRV", kDomain, user);
    setRecord("MAILSRV", "Exchange server", {"10.0.0.20"}, {"MSExchangeSA", "MSExchangeMTA"});
    addBuiltinUsers("MAILSRV");
    addAdministratorsGroup("MAILSRV", "TARVEXNET\\Domain Admins");
    addHost("NTFILES", kDomain, user, "server", "4.0");
    setRecord("NTFILES", "Old file server", {"10.0.0.30"});
    addHost("OLDPC", kDomain, user, "windows9x", "4.10");
    setRecord("OLDPC", "Reception desk", {"10.0.0.40"});
}

// The file shares of SPSSOURCE with their permissions.
void buildShares()
{
    const net::HostInfo source = *net::FindHost("SPSSOURCE");
    net::SaveShare(source, {"Public", net::STYPE_DISKTREE, "Files for everyone", "C:\\Shares\\Public"});
    net::SaveShare(source, {"Projects", net::STYPE_DISKTREE, "Project files", "C:\\Shares\\Projects"});
    net::SaveShare(source, {"Backup$", net::STYPE_DISKTREE, "Nightly backups", "C:\\Backup"});
    net::SaveShare(source, {"Printer", net::STYPE_PRINTQ, "Second floor printer", ""});

    const net::DrivePath publicFolder{'C', {"Shares", "Public"}};
    addFile("SPSSOURCE", publicFolder, "welcome.txt", "Welcome to the public share.\n");
    addFile("SPSSOURCE", publicFolder, "plan.doc", textContent(2500, "Plan for the coming year."));
    addFile("SPSSOURCE", {'C', {"Shares", "Public", "Reports"}}, "q1.xls", textContent(1800, "Q1;figures"));
    addFile("SPSSOURCE", {'C', {"Shares", "Projects", "Widget"}}, "design.txt", textContent(700, "Widget design"));
    addFile("SPSSOURCE", {'C', {"Backup"}}, "monday.bak", textContent(4096, "backup"));

    using net::AceType;
    net::WriteShareSecurity("\\\\SPSSOURCE\\Public",
                            {std::vector<net::Ace>{ace(AceType::Allow, 0x1200A9, "Everyone"),
                                                   ace(AceType::Allow, 0x1301BF, "TARVEXNET\\Marketing"),
                                                   ace(AceType::Deny, 0x1F01FF, "TARVEXNET\\frieda")}});
    net::WriteShareSecurity("\\\\SPSSOURCE\\Projects",
                            {std::vector<net::Ace>{ace(AceType::Allow, 0x1F01FF, "TARVEXNET\\Research"),
                                                   ace(AceType::Allow, 0x1200A9, "BERLIN\\Vertrieb")}});
    net::WriteShareSecurity("\\\\SPSSOURCE\\Backup$", {std::vector<net::Ace>{}});
    net::WriteFileSecurity("\\\\SPSSOURCE\\Public\\plan.doc",
                           {std::vector<net::Ace>{ace(AceType::Allow, 0x1F01FF, "TARVEXNET\\anna"),
                                                  ace(AceType::Allow, 0x1301BF, "TARVEXNET\\Document Editors"),
                                                  ace(AceType::Allow, 0x1200A9, "BERLIN\\lena"),
                                                  ace(AceType::Deny, 0x10000, "TARVEXNET\\bernd")}});
}

std::vector<PropertyDefinitionSpec> demoDefinitions()
{
    return {
        {"Department.xml", office("Department"), "Department", "The department in charge", "List", DataTypeFor("List"),
         true, false, {"Marketing", "Research", "Sales", "Vertrieb"}},
        {"Budget.xml", office("Budget"), "Budget", "Planned cost in euros", "Number", DataTypeFor("Number"), false, false, {}},
        {"ReviewDate.xml", office("ReviewDate"), "Review date", "When the document is reviewed next", "Date",
         DataTypeFor("Date"), false, false, {}},
        {"ProjectCode.xml", office("ProjectCode"), "Project code", "The project's short code", "Text", DataTypeFor("Text"),
         false, false, {}},
        {"Summary.xml", office("Summary"), "Summary", "A few sentences on the content", "Comment Box",
         DataTypeFor("Comment Box"), false, false, {}},
    };
}

std::vector<ContentClassSpec> demoContentClasses()
{
    return {
        {"Memo", "Memo", "A short internal note", {"urn:content-classes:document"},
         {office("Department"), office("Summary"), office("ReviewDate")}},
        {"Datasheet", "Datasheet", "Technical data of a product", {"urn:content-classes:document"},
         {office("ProjectCode"), office("Budget"), office("ReviewDate"), office("Department")}},
    };
}

void addProfiles(const std::string& workspace)
{
    for (const PropertyDefinitionSpec& definition : demoDefinitions()) AddPropertyDefinition(workspace, definition);
    for (const ContentClassSpec& contentClass : demoContentClasses()) AddContentClass(workspace, contentClass);
}

DocumentSpec memo(std::string content, const char* department, DocumentState state)
{
    DocumentSpec document(std::move(content));
    document.contentClass = "urn:content-classes:Memo";
    document.state = state;
    document.properties = {{office("Department"), std::string(department)},
                           {office("Summary"), std::string("Prepared for the quarterly review.")},
                           {office("ReviewDate"), sys::MakeDateTime({2026, 12, 7})}};
    document.firstList = {department};
    document.secondList = {department, "Sales"};
    return document;
}

DocumentSpec datasheet(std::string content, const char* code, std::int32_t budget, DocumentState state)
{
    DocumentSpec document(std::move(content));
    document.contentClass = "urn:content-classes:Datasheet";
    document.state = state;
    document.properties = {{office("ProjectCode"), std::string(code)},
                           {office("Budget"), budget},
                           {office("ReviewDate"), sys::MakeDateTime({2027, 3, 15, 12, 0, 0})},
                           {office("Department"), std::string("Research")}};
    document.firstList = {"Research"};
    return document;
}

void buildMarketing(const std::string& user)
{
    const std::string workspace = AddWorkspace("SPSSOURCE", "Marketing");
    SetRoles(workspace, {{"\\Everyone"}, {accountIn("anna"), accountIn("bernd")}, {user}});
    addProfiles(workspace);

    const std::string documents = ChildUrl(workspace, "Documents");
    const std::string campaigns = AddFolder(documents, "Campaigns 2026");
    const std::string spring = AddFolder(campaigns, "Spring Launch");
    AddDocument(spring, "launch plan.docx", memo(GeneratedBinaryContent(30 * 1024, 7), "Marketing", DocumentState::Published));
    AddDocument(spring, "banner.png", DocumentSpec(GeneratedBinaryContent(4096, 11)));
    AddDocument(campaigns, "budget.xlsx", datasheet(GeneratedBinaryContent(1536, 13), "MK-26", 12000, DocumentState::CheckedIn));

    const std::string slides = AddFolder(documents, "Präsentationen");
    SetRoles(slides, {{accountIn("frieda")}, {accountIn("anna")}, {user}});
    AddDocument(slides, "Übersicht 2026.txt", DocumentSpec(textContent(1024, "Überblick über das Jahr – Zahlen, Märkte, Pläne.")));
    AddDocument(slides, "Kundenbesuch Köln.pptx", memo(GeneratedBinaryContent(1025, 17), "Vertrieb", DocumentState::CreatedCheckedIn));
    AddDocument(documents, "press release.htm",
                DocumentSpec("<html><body><h1>Tarvex launches</h1><p>Café, crème brûlée and more.</p></body></html>\n"));
    AddDocument(documents, "empty notes.txt", DocumentSpec{});

    const std::string categories = ChildUrl(workspace, "Categories");
    const std::string products = AddFolder(categories, "Products", ItemKind::CategoryFolder);
    AddFolder(products, "Hardware", ItemKind::CategoryFolder);
    AddDocument(products, "catalog.pdf", DocumentSpec(GeneratedBinaryContent(2048, 19)));
    const std::string regions = AddFolder(categories, "Regions", ItemKind::CategoryFolder);
    AddFolder(regions, "Europa", ItemKind::CategoryFolder);
    AddFolder(regions, "Nordamerika", ItemKind::CategoryFolder);
}

void buildResearch(const std::string& user)
{
    const std::string workspace = AddWorkspace("SPSSOURCE", "Research and Development");
    SetRoles(workspace, {{accountIn("erik")}, {accountIn("dieter")}, {user, accountIn("carla")}});
    addProfiles(workspace);

    const std::string documents = ChildUrl(workspace, "Documents");
    const std::string datasheets = AddFolder(documents, "Datasheets");
    AddDocument(datasheets, "widget datasheet v2.doc",
                datasheet(GeneratedBinaryContent(12 * 1024, 23), "RD-7", 250000, DocumentState::CheckedIn));
    AddDocument(datasheets, "test report.pdf",
                datasheet(GeneratedBinaryContent(64 * 1024, 29), "RD-7", 5000, DocumentState::Published));
    const std::string drafts = AddFolder(documents, "Drafts");
    AddDocument(drafts, "draft notes.txt", memo(textContent(600, "To be checked in later."), "Research", DocumentState::CheckedOut));
    AddDocument(documents, "large dataset.csv", DocumentSpec(textContent(300 * 1024, "sample;value;unit;42;mm")));

    const std::string categories = ChildUrl(workspace, "Categories");
    const std::string projects = AddFolder(categories, "Projects", ItemKind::CategoryFolder);
    const std::string alpha = AddFolder(projects, "Projekt Ähre", ItemKind::CategoryFolder);
    AddDocument(alpha, "milestones.txt", DocumentSpec(textContent(1300, "M1 done; M2 open.")));
}

// What browsing the source server meets besides the two workspaces above:
// folders four levels deep, two folders of one name, documents of many
// types, the store's own folders and documents that no listing shows, and a
// hidden workspace.
void buildBrowsingExamples(const std::string& user)
{
    const std::string workspace = AddWorkspace("SPSSOURCE", "Customer Projects");
    SetRoles(workspace, {{"\\Everyone"}, {accountIn("anna")}, {user}});
    const std::string documents = ChildUrl(workspace, "Documents");
    const std::string acme = AddFolder(documents, "Acme Corporation");
    const std::string year = AddFolder(acme, "2026");
    const std::string contracts = AddFolder(year, "Contracts");
    AddDocument(contracts, "framework agreement.pdf", DocumentSpec(GeneratedBinaryContent(96 * 1024, 31)));
    AddDocument(contracts, "signature page.jpg", DocumentSpec(GeneratedBinaryContent(48 * 1024, 37)));
    AddDocument(year, "kick-off minutes.odt", DocumentSpec(GeneratedBinaryContent(7 * 1024, 41)));
    AddDocument(year, "site plan.svg",
                DocumentSpec("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"20\">"
                             "<rect width=\"40\" height=\"20\" fill=\"teal\"/></svg>\n"));
    const std::string acmeDrafts = AddFolder(acme, "Drafts");
    AddDocument(acmeDrafts, "offer v3.docx", DocumentSpec(GeneratedBinaryContent(22 * 1024, 43)));
    const std::string drafts = AddFolder(documents, "Drafts");
    AddDocument(drafts, "ideas.txt", DocumentSpec(textContent(800, "One idea per line.")));
    AddDocument(documents, "contacts.csv", DocumentSpec(textContent(2300, "name;company;phone")));
    AddDocument(documents, "logo.png", DocumentSpec(GeneratedBinaryContent(12 * 1024, 47)));
    AddDocument(documents, "handbook.zip", DocumentSpec(GeneratedBinaryContent(180 * 1024, 53)));
    AddDocument(documents, "settings.xml", DocumentSpec("<settings><theme>light</theme></settings>\n"));
    // The store's own, which no listing shows.
    AddFolder(documents, "_TEMP_");
    AddFolder(drafts, "PKMEvents");
    AddDocument(documents, "pkmevents", DocumentSpec("store events"));
    AddFolder(ChildUrl(workspace, "Categories"), "Industries", ItemKind::CategoryFolder);

    const std::string archive = AddWorkspace("SPSSOURCE", "Old Intranet");
    AddDocument(ChildUrl(archive, "Documents"), "phone list 2019.txt", DocumentSpec(textContent(500, "Reception: 100")));
    SpsWorkspace hidden;
    hidden.DataSource().Open(archive);
    hidden.setHidden(true);
    hidden.DataSource().Save();
}

} // namespace

void BuildDemoNetwork()
{
    if (net::NetworkExists())
        throw com::ComError(com::E_FAIL, "A network exists already at " + net::NetworkRoot().string());
    const std::string user = sys::CurrentUser();
    std::vector<std::string> domains = {kDomain, kBerlinDomain};
    if (const std::string userDomain = domainOf(user); !userDomain.empty()
        && std::none_of(domains.begin(), domains.end(), [&](const std::string& domain) { return domain == userDomain; }))
        domains.push_back(userDomain);

    const std::string localHost = localMachineName();
    net::InitializeNetwork({localHost, domains});
    addHost(localHost, kDomain, user, "workstation");
    setRecord(localHost, "This workstation", {"10.0.0.10"});
    addHost("SPSSOURCE", kDomain, user);
    addHost("SPSTARGET", kDomain, user);
    addHost("SPSBERLIN", kBerlinDomain, user);
    MakeStoreServer("SPSSOURCE", ServerLanguage::English);
    MakeStoreServer("SPSTARGET", ServerLanguage::English);
    MakeStoreServer("SPSBERLIN", ServerLanguage::German);
    setRecord("SPSSOURCE", "Document server", {"10.0.0.5"});
    setRecord("SPSTARGET", "Document server", {"10.0.0.6"});
    setRecord("SPSBERLIN", "Dokumentenserver", {"10.1.0.5"});

    buildDomains(user);
    buildOtherMachines(user);
    for (const char* server : {"SPSSOURCE", "SPSTARGET", "SPSBERLIN"}) addBuiltinUsers(server);
    addAdministratorsGroup("SPSSOURCE", "TARVEXNET\\Domain Admins");
    addAdministratorsGroup("SPSTARGET", "TARVEXNET\\Domain Admins");
    addAdministratorsGroup("SPSBERLIN", "BERLIN\\Domain Admins");
    buildShares();

    buildMarketing(user);
    buildResearch(user);
    buildBrowsingExamples(user);
}

} // namespace store
