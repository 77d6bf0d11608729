#include "exchange/ExportUnits.h"
#include "tree/Errors.h"

#include <gettext-po.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <unistd.h>

namespace trvx::exchange {

namespace {

// libgettextpo reports through C callbacks; a fatal report must not
// return, so it jumps back to the call that started the work. Only plain
// C frames and this file's frames without destructors lie in between.
struct TPoErrors {
    char first[1024] = "";
    bool any = false;
    std::jmp_buf jump;
};
thread_local TPoErrors* t_errors = nullptr;

void Report(int severity, const char* fileName, std::size_t line, std::size_t column,
            const char* text) {
    if (severity == PO_SEVERITY_WARNING)
        return;
    if (!t_errors->any) {
        t_errors->any = true;
        if (fileName && line != static_cast<std::size_t>(-1) &&
            column != static_cast<std::size_t>(-1))
            std::snprintf(t_errors->first, sizeof t_errors->first, "%s:%zu:%zu: %s", fileName, line,
                          column, text);
        else if (fileName && line != static_cast<std::size_t>(-1))
            std::snprintf(t_errors->first, sizeof t_errors->first, "%s:%zu: %s", fileName, line,
                          text);
        else
            std::snprintf(t_errors->first, sizeof t_errors->first, "%s", text);
    }
    if (severity == PO_SEVERITY_FATAL_ERROR)
        std::longjmp(t_errors->jump, 1);
}

void XError(int severity, po_message_t, const char* fileName, std::size_t line, std::size_t column,
            int, const char* text) {
    Report(severity, fileName, line, column, text);
}

void XError2(int severity, po_message_t, const char* fileName, std::size_t line, std::size_t column,
             int, const char* text, po_message_t, const char*, std::size_t, std::size_t, int,
             const char*) {
    Report(severity, fileName, line, column, text);
}

const po_xerror_handler kHandler{XError, XError2};

std::string TrimmedMessage(const char* text) {
    std::string message = text;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return message;
}

// The one place that calls into libgettextpo's reporting functions.
template <class Work> void WithPoErrors(const Work& work) {
    TPoErrors errors;
    t_errors = &errors;
    if (setjmp(errors.jump) == 0)
        work();
    t_errors = nullptr;
    if (errors.any)
        throw EExchangeError(TrimmedMessage(errors.first));
}

struct TPoFileFree {
    void operator()(po_file_t file) const { po_file_free(file); }
};
using TPoFile = std::unique_ptr<std::remove_pointer_t<po_file_t>, TPoFileFree>;
struct TIteratorFree {
    void operator()(po_message_iterator_t it) const { po_message_iterator_free(it); }
};
using TPoIterator = std::unique_ptr<std::remove_pointer_t<po_message_iterator_t>, TIteratorFree>;

// A temporary file that goes when it goes out of scope.
class TTempFile {
public:
    TTempFile() {
        const char* dir = std::getenv("TMPDIR");
        m_name = std::string(dir && *dir ? dir : "/tmp") + "/trvx-po-XXXXXX";
        const int fd = mkstemp(m_name.data());
        if (fd < 0)
            throw EFCreateError(m_name, SystemMessage(errno));
        close(fd);
    }
    ~TTempFile() { unlink(m_name.c_str()); }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;
    const std::string& Name() const { return m_name; }

private:
    std::string m_name;
};

std::string Header(const TExportOptions& options) {
    char date[32];
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M+0000", &utc);
    std::string header = "Project-Id-Version: " + options.Original + "\n";
    header += "PO-Revision-Date: " + std::string(date) + "\n";
    header += "Last-Translator: \n";
    header += "Language-Team: \n";
    if (!options.TargetLanguage.empty())
        header += "Language: " + options.TargetLanguage + "\n";
    header += "MIME-Version: 1.0\n";
    header += "Content-Type: text/plain; charset=UTF-8\n";
    header += "Content-Transfer-Encoding: 8bit\n";
    header += "X-Generator: Tarvin\n";
    return header;
}

} // namespace

void ExportPo(const TTarvin& translation, const TTarvin* reference, const TExportOptions& options,
              const WriteBytes& write) {
    TPoFile file(po_file_create());
    {
        TPoIterator it(po_message_iterator(file.get(), nullptr));
        po_message_t header = po_message_create();
        po_message_set_msgid(header, "");
        po_message_set_msgstr(header, Header(options).c_str());
        po_message_insert(it.get(), header);
        std::string id, source, target;
        ForEachExportedUnit(translation, reference, [&](const TUnit& unit) {
            po_message_t message = po_message_create();
            po_message_insert(it.get(), message);
            id.assign(unit.Id);
            source.assign(unit.Source);
            target.assign(unit.Target);
            po_message_set_msgctxt(message, id.c_str());
            po_message_set_msgid(message, source.c_str());
            po_message_set_msgstr(message, target.c_str());
            po_message_set_extracted_comments(message, UnitNote(unit).c_str());
        });
    }
    TTempFile temp;
    WithPoErrors([&] { po_file_write(file.get(), temp.Name().c_str(), &kHandler); });
    file.reset();
    std::FILE* in = std::fopen(temp.Name().c_str(), "rb");
    if (!in)
        throw EFOpenError(temp.Name(), SystemMessage(errno));
    std::string chunk(std::size_t{1} << 20, '\0');
    for (;;) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in);
        if (n == 0)
            break;
        write(std::string_view(chunk.data(), n));
    }
    std::fclose(in);
}

namespace {

class TPoDocument : public TExchangeDocument {
public:
    explicit TPoDocument(const std::string& fileName) {
        if (std::FILE* probe = std::fopen(fileName.c_str(), "rb"))
            std::fclose(probe);
        else
            throw EFOpenError(fileName, SystemMessage(errno));
        // Owned at once: a reported error throws after the read returned.
        WithPoErrors([&] { m_file.reset(po_file_read(fileName.c_str(), &kHandler)); });
        if (!m_file)
            throw EExchangeError(fileName + ": cannot be read as a PO file");
        for (const char* const* domain = po_file_domains(m_file.get()); *domain; ++domain) {
            TPoIterator it(po_message_iterator(m_file.get(), *domain));
            while (po_message_t message = po_next_message(it.get()))
                Add(fileName, message);
        }
    }

private:
    void Add(const std::string& fileName, po_message_t message) {
        const char* context = po_message_msgctxt(message);
        const char* msgid = po_message_msgid(message);
        if (po_message_is_obsolete(message) || (!context && !*msgid))
            return; // the header, or a message the file keeps only for history
        const char* id = context;
        if (!id && po_message_filepos(message, 0) && !po_message_filepos(message, 1))
            id = m_decoded.emplace_back(LocationId(po_filepos_file(po_message_filepos(message, 0))))
                     .c_str();
        if (!id)
            throw EExchangeError(fileName + ": the message \"" + msgid +
                                 "\" has no context naming its unit");
        if (po_message_msgid_plural(message))
            throw EExchangeError(fileName + ": unit \"" + id + "\" has plural forms");
        const char* msgstr = po_message_msgstr(message);
        if (*msgstr)
            m_units.push_back({id, msgstr});
    }

    TPoFile m_file;
    std::deque<std::string> m_decoded; // ids taken from references
};

} // namespace

std::unique_ptr<TExchangeDocument> ReadPo(const std::string& fileName) {
    return std::make_unique<TPoDocument>(fileName);
}

} // namespace trvx::exchange
