#include "app/ui/settings_wiring.h"

#include "app/ui/help_keys.h"
#include "base/global_state.h"
#include "ledger/ui/main_window.h"
#include "settings/program_contacts.h"
#include "settings/program_information.h"
#include "settings/ui/help_window.h"
#include "settings/ui/company_window.h"
#include "settings/ui/program_parameters_window.h"
#include "settings/ui/program_information_window.h"
#include "store/data_module.h"

#include <QFileInfo>
#include <QPointer>
#include <QUrl>

namespace {

// The guide is built into the program, with its pictures.
const QUrl kGuide(QStringLiteral("qrc:/help/instrukcja.md"));

// The PDF version of the guide, where the program finds one; empty when there is none.
QString HelpPdf(const TDANE &data)
{
    const ProcessEnvironment &environment = data.environment();
    for (const QString &candidate : HelpFileCandidates(environment.workingFolder, environment.programFolder))
        if (QFileInfo::exists(candidate))
            return candidate;
    return {};
}

// The seller's and author's data the installation gives.
ProgramContacts Contacts(const TDANE &data)
{
    const ProcessEnvironment &environment = data.environment();
    return ReadProgramContacts(
        InstallationFileCandidates(ContactsFileName(), environment.workingFolder, environment.programFolder));
}

} // namespace

void WireSettingsWindows(TKASAF &window, TDANE &data, Prompt &prompt)
{
    ExternalCommands &commands = window.externalCommands();
    TKASAF *main = &window;
    TDANE *module = &data;
    Prompt *messages = &prompt;

    commands.companyData = [main, module, messages, company = QPointer<TFIRMAF>()]() mutable {
        if (!company)
            company = new TFIRMAF(module->TFIRMA, module->TPARA, *messages, module->state().DataRoot, main);
        company->showModal();
    };
    commands.programParameters = [main, module, messages, parameters = QPointer<TKASAF7>()]() mutable {
        if (!parameters)
            parameters = new TKASAF7(module->TPARA, *messages, main);
        parameters->showModal();
    };
    commands.about = [main, module, information = QPointer<TPROGF>()]() mutable {
        if (!information)
            information = new TPROGF(HelpPdf(*module), module->environment().programFolder, Contacts(*module), main);
        information->showModal();
    };
    auto *keys = new HelpKeys(kGuide, HelpPdf(data), main);
    commands.help = [keys, main] { keys->showHelpFor(main); };
    window.updateCommandAvailability();
}
