#pragma once
// Test doubles of the forms the engine writes into and reads from. Each
// records what the engine did, so that tests can check the captions, labels,
// bar values and commands a run leaves behind.

#include "app/core/forms.h"

#include <string>
#include <vector>

namespace engine_testing {

// The progress dialog: a reference while it is not loaded loads a hidden one,
// as the real dialog's shared instance does; loading empties the bar.
class FakeImportingForm : public ImportingForm {
public:
    void show() override;
    void unload() override;
    void setCaption(const std::string& text) override { write(caption, &captions, text); }
    void setLblStatus(const std::string& text) override { write(lblStatus, &statuses, text); }
    void setLblSource(const std::string& text) override { write(lblSource, nullptr, text); }
    void setLblDest(const std::string& text) override { write(lblDest, nullptr, text); }
    void setLblPercentage(const std::string& text) override { write(lblPercentage, &percentages, text); }
    float progressBar1Value() override;
    void setProgressBar1Value(float value) override;
    float progressBar1Max() override;

    bool loaded = false;
    bool visible = false;
    int loads = 0;
    int shows = 0;
    int unloads = 0;
    std::string caption;
    std::string lblStatus;
    std::string lblSource;
    std::string lblDest;
    std::string lblPercentage;
    float value = 0;
    float max = 100;
    // Every caption, status, percentage and bar value written, in order.
    std::vector<std::string> captions;
    std::vector<std::string> statuses;
    std::vector<std::string> percentages;
    std::vector<float> values;

private:
    void load();
    void write(std::string& label, std::vector<std::string>* history, const std::string& text);
};

// The role-mapping dialog: reads the mapping from the settings database as
// the real dialog does, without a window.
class FakeRoleMappingForm : public RoleMappingForm {
public:
    RoleMapping AddDefaultSettings() override;
    int calls = 0;
};

class FakeMainWindow : public MainWindowForm {
public:
    std::string txtTop() override { return top; }
    std::string txtBottom() override { return bottom; }
    // The store's own titles, as the real window reads them.
    std::string FindDocumentsFolderTitle(const std::string& server) override;
    std::string FindCategoriesFolderTitle(const std::string& server) override;
    void DisplaySourceWorkspaces(const std::string&) override {}
    void DisplayDestWorkspaces(const std::string& server) override { destinationListings.push_back(server); }
    void setTxtTop(const std::string& text) override { top = text; }
    void setTxtBottom(const std::string& text) override { bottom = text; }
    void setReplicateEnabled(bool enabled) override { replicateEnabled = enabled; }
    void setRemoveEnabled(bool enabled) override { removeEnabled = enabled; }
    void setCreateProfileEnabled(bool enabled) override { createProfileEnabled = enabled; }
    void setRefreshSourceEnabled(bool) override {}
    void setRefreshDestEnabled(bool) override {}

    std::string top;
    std::string bottom;
    std::vector<std::string> destinationListings;
    bool replicateEnabled = true;
    bool removeEnabled = true;
    bool createProfileEnabled = true;
};

} // namespace engine_testing
