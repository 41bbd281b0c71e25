// tarvex-net: the network admin command. A thin parser over the builders of
// the store library; run without arguments for its usage.

#include "command_line.h"
#include "network_commands.h"

#include "platform/net/case_fold.h"
#include "platform/net/network.h"
#include "platform/store/admin.h"
#include "platform/store/errors.h"
#include "platform/store/item_url.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace {

const char kUsage[] = R"(usage: tarvex-net COMMAND ARGUMENTS

  init [--local-host NAME] [--domains "D1;D2"]       create the network root
  host NAME [--domain D] [--reachable yes|no] [--administrators "A;B"]
                                                     add or change a host (more options below)
  server HOST [--language en|de]                     make HOST a document-store server
  workspace HOST NAME                                create a workspace from the server's template
  folder URL [--category] [--content-class C]        create a folder or category folder
  document FOLDER_URL FILE [--name N] [--content-class C] [--content-type T]
           [--state checkedout|createdcheckedin|checkedin|published] [--skip | --replace]
                                                     add a local file as a document
  import LOCAL_FOLDER FOLDER_URL [--skip | --replace]
                                                     add a local folder tree as folders and documents

  A name that is taken fails the command, unless --skip leaves the document
  there as it is or --replace makes it anew; folders that exist are kept and
  filled. Running an import again with either finishes one that stopped.
  propdef WORKSPACE_URL PROPERTY_NAME TYPE [--file F.xml] [--title T] [--description D]
          [--values "V1;V2"] [--required] [--multivalued]
                                                     add a property definition (TYPE: Number, List,
                                                     Date, Text, "Comment Box")
  contentclass WORKSPACE_URL NAME [--title T] [--description D] [--extends "C1;C2"]
               [--properties "P1;P2"]                add a content class
  roles URL [--readers "A;B"] [--authors "A;B"] [--coordinators "A;B"] | roles URL --inherit
                                                     set the roles of a folder or workspace
  demo [--if-missing]                                create the demo network (with --if-missing:
                                                     only when there is no network yet)
  dump URL                                           print the item tree below URL as JSON

The network root is $TARVEX_NETWORK, else $XDG_DATA_HOME/tarvex/network, else
~/.local/share/tarvex/network.
)";

using Command = std::function<void(const CommandLine&)>;

// A command that did part of its work and failed: exit code 1.
class CommandFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw UsageError("cannot read " + path);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool parseYesNo(const std::string& text)
{
    if (net::EqualsIgnoringCase(text, "yes") || net::EqualsIgnoringCase(text, "true")) return true;
    if (net::EqualsIgnoringCase(text, "no") || net::EqualsIgnoringCase(text, "false")) return false;
    throw UsageError("expected yes or no, not " + text);
}

store::IfExists parseIfExists(const CommandLine& line)
{
    if (line.flag("skip") && line.flag("replace")) throw UsageError("--skip and --replace exclude each other");
    if (line.flag("skip")) return store::IfExists::Skip;
    if (line.flag("replace")) return store::IfExists::Replace;
    return store::IfExists::Fail;
}

store::DocumentState parseState(const std::string& text)
{
    if (text == "checkedout") return store::DocumentState::CheckedOut;
    if (text == "createdcheckedin") return store::DocumentState::CreatedCheckedIn;
    if (text == "checkedin") return store::DocumentState::CheckedIn;
    if (text == "published") return store::DocumentState::Published;
    throw UsageError("unknown document state " + text);
}

void init(const CommandLine& line)
{
    net::InitializeNetwork({line.option("local-host").value_or("WORKSTATION"), line.list("domains")});
    std::cout << "network at " << net::NetworkRoot().string() << "\n";
}

void host(const CommandLine& line)
{
    net::HostInfo info;
    if (std::optional<net::HostInfo> existing = net::FindHost(line.positional(0, "host name"))) info = *existing;
    else info.name = line.positional(0, "host name");
    if (auto domain = line.option("domain")) info.domain = *domain;
    if (auto reachable = line.option("reachable")) info.reachable = parseYesNo(*reachable);
    if (line.option("administrators")) info.administrators = line.list("administrators");
    ApplyServerRecordOptions(line, info);
    net::SaveHost(info);
}

void server(const CommandLine& line)
{
    const std::string language = line.option("language").value_or("en");
    const std::optional<store::ServerLanguage> parsed = store::ParseServerLanguage(language);
    if (!parsed) throw UsageError("unknown language " + language);
    store::MakeStoreServer(line.positional(0, "host name"), *parsed);
}

void workspace(const CommandLine& line)
{
    std::cout << store::AddWorkspace(line.positional(0, "host name"), line.positional(1, "workspace name")) << "\n";
}

void folder(const CommandLine& line)
{
    const std::string& url = line.positional(0, "folder URL");
    const std::size_t slash = url.find_last_of('/');
    if (slash == std::string::npos) throw UsageError("not a folder URL: " + url);
    store::AddFolder(url.substr(0, slash), url.substr(slash + 1),
                     line.flag("category") ? store::ItemKind::CategoryFolder : store::ItemKind::Folder,
                     line.option("content-class").value_or(""));
}

void document(const CommandLine& line)
{
    const std::string& file = line.positional(1, "file");
    store::DocumentSpec newDocument(readFile(file));
    newDocument.contentClass = line.option("content-class").value_or("");
    newDocument.contentType = line.option("content-type").value_or("");
    if (auto state = line.option("state")) newDocument.state = parseState(*state);
    const std::string name = line.option("name").value_or(std::filesystem::path(file).filename().string());
    const std::string& folderUrl = line.positional(0, "folder URL");
    const store::Added added = store::PutDocument(folderUrl, name, newDocument, parseIfExists(line));
    std::cout << store::ChildUrl(folderUrl, name) << (added == store::Added::Skipped ? " (left as it was)" : "") << "\n";
}

// A plain import stops at the first name that is taken, typically when an
// import that was cut short is run again: its answer says how to finish.
void import(const CommandLine& line)
{
    const store::IfExists ifExists = parseIfExists(line);
    store::ImportCounts counts;
    try {
        counts = store::ImportFolderTree(line.positional(0, "local folder"), line.positional(1, "folder URL"), ifExists);
    } catch (const com::ComError& error) {
        if (error.number() != store::errItemExists || ifExists != store::IfExists::Fail) throw;
        throw com::ComError(error.number(),
                            error.description() + "; importing again with --skip or --replace finishes the import");
    }
    std::cout << counts.written << " items imported";
    if (counts.skipped > 0) std::cout << ", " << counts.skipped << " left as they were";
    std::cout << "\n";
}

void propertyDefinition(const CommandLine& line)
{
    store::PropertyDefinitionSpec definition;
    definition.propertyName = line.positional(1, "property name");
    definition.extendedType = line.positional(2, "type");
    const std::size_t hash = definition.propertyName.find_last_of("#:");
    const std::string shortName = definition.propertyName.substr(hash == std::string::npos ? 0 : hash + 1);
    definition.fileName = line.option("file").value_or(shortName + ".xml");
    definition.title = line.option("title").value_or(shortName);
    definition.description = line.option("description").value_or("");
    definition.dataType = store::DataTypeFor(definition.extendedType);
    definition.required = line.flag("required");
    definition.multiValued = line.flag("multivalued");
    definition.listValues = line.list("values");
    store::AddPropertyDefinition(line.positional(0, "workspace URL"), definition);
}

void contentClass(const CommandLine& line)
{
    const std::string& name = line.positional(1, "class name");
    store::AddContentClass(line.positional(0, "workspace URL"),
                           {name, line.option("title").value_or(name), line.option("description").value_or(""),
                            line.list("extends"), line.list("properties")});
}

void roles(const CommandLine& line)
{
    const std::string& url = line.positional(0, "URL");
    if (line.flag("inherit")) store::InheritRoles(url);
    else store::SetRoles(url, {line.list("readers"), line.list("authors"), line.list("coordinators")});
}

void demo(const CommandLine& line)
{
    if (line.flag("if-missing") && net::NetworkExists()) return;
    store::BuildDemoNetwork();
    std::cout << "demo network at " << net::NetworkRoot().string() << "\n";
}

// Every item that can be read is dumped; those that cannot are named on the
// error output, and the command fails at the end.
void dump(const CommandLine& line)
{
    std::vector<std::string> failures;
    std::cout << store::DumpItemTree(line.positional(0, "URL"), &failures);
    for (const std::string& failure : failures) std::cerr << "tarvex-net: " << failure << "\n";
    if (!failures.empty()) throw CommandFailed(std::to_string(failures.size()) + " items could not be read");
}

const std::map<std::string, Command>& commands()
{
    static const std::map<std::string, Command> table{
        {"init", init},       {"host", host},
        {"server", server},   {"workspace", workspace},
        {"folder", folder},   {"document", document},
        {"import", import},   {"propdef", propertyDefinition},
        {"contentclass", contentClass}, {"roles", roles},
        {"demo", demo},       {"dump", dump},
        {"domain", DomainCommand}, {"share", ShareCommand},
        {"account", AccountCommand}, {"acl", AclCommand},
        {"connect", ConnectCommand}, {"disconnect", DisconnectCommand},
        {"show", ShowCommand},
    };
    return table;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> words(argv + 1, argv + argc);
    try {
        if (words.empty()) throw UsageError("missing command");
        const auto command = commands().find(words.front());
        if (command == commands().end()) throw UsageError("unknown command " + words.front());
        std::set<std::string> flags{"category", "required", "multivalued", "inherit", "if-missing", "skip", "replace"};
        flags.insert(std::begin(NetworkCommandFlags), std::end(NetworkCommandFlags));
        command->second(CommandLine({words.begin() + 1, words.end()}, flags));
        return 0;
    } catch (const UsageError& error) {
        std::cerr << "tarvex-net: " << error.what() << "\n\n" << kUsage << NetworkCommandsUsage;
        return 2;
    } catch (const com::ComError& error) {
        char number[16];
        std::snprintf(number, sizeof number, "0x%08X", unsigned(error.number()));
        std::cerr << "tarvex-net: " << error.description() << " (error " << number << ")\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "tarvex-net: " << error.what() << "\n";
        return 1;
    }
}
