// The demo network: a populated source server and two empty targets.

#include "platform/store/admin.h"

#include "platform/net/network.h"
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

void addHost(const std::string& name, const std::string& domain, const std::string& administrator)
{
    net::HostInfo host;
    if (std::optional<net::HostInfo> existing = net::FindHost(name)) host = *existing;
    host.name = name;
    host.domain = domain;
    host.serverType = "server";
    host.administrators = {administrator};
    net::SaveHost(host);
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
    addHost(localHost, kDomain, user);
    addHost("SPSSOURCE", kDomain, user);
    addHost("SPSTARGET", kDomain, user);
    addHost("SPSBERLIN", kBerlinDomain, user);
    MakeStoreServer("SPSSOURCE", ServerLanguage::English);
    MakeStoreServer("SPSTARGET", ServerLanguage::English);
    MakeStoreServer("SPSBERLIN", ServerLanguage::German);

    buildMarketing(user);
    buildResearch(user);
    buildBrowsingExamples(user);
}

} // namespace store
