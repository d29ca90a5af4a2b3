#include "bug_report_page.h"

#include <map>

#include "form_fields.h"
#include "page_style.h"

namespace {

constexpr std::string_view kStyle = R"(form { background: #EEEEEE; border: 2px solid #8B0000; padding: 1em; }
label { display: block; margin: 0 0 0.3em; font-weight: bold; color: #8B0000; }
textarea { box-sizing: border-box; width: 100%; margin: 0 0 1em; padding: 0.4em; font: inherit; border: 1px solid #999999; background: #FFFFFF; }
button { padding: 0.4em 1.2em; font: inherit; font-weight: bold; color: #FFFFFF; background: #8B0000; border: 0; }
)";

struct Box {
  const char* name;
  const char* label;
  int rows;
  bool required;
};

constexpr Box kBoxes[] = {
    {"happened", "What happened?", 5, true},
    {"expected", "What did you expect to happen?", 3, false},
    {"steps", "How can we make it happen? The level, the board, what you clicked.", 5, false},
};

// Characters of UTF-8 text: every byte but the continuation bytes.
size_t characters(std::string_view text) {
  size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// Text boxes send each line end as CR LF.
std::string withPlainLineEnds(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  }
  return out;
}

ReportReading refused(unsigned status, std::string problem) {
  ReportReading reading;
  reading.status = status;
  reading.problem = std::move(problem);
  return reading;
}

std::string page(std::string_view heading, std::string_view body) {
  std::string html = pageStart("Tessara bug report", kStyle);
  html += "<h1>";
  appendHtmlEscaped(html, heading);
  html += "</h1>\n";
  html += body;
  html += kPageEnd;
  return html;
}

}  // namespace

std::string renderBugReportForm() {
  std::string body =
      "<p>Found something wrong in Tessara? Tell us what happened and we will look into it. "
      "Each box holds up to " +
      std::to_string(kMaxReportCharacters) + " characters.</p>\n<form method=\"post\">\n";
  for (const Box& box : kBoxes) {
    body += "<label for=\"" + std::string(box.name) + "\">" + box.label + "</label>\n";
    body += "<textarea id=\"" + std::string(box.name) + "\" name=\"" + box.name + "\" rows=\"" +
            std::to_string(box.rows) + "\" maxlength=\"" +
            std::to_string(kMaxReportCharacters) + "\"" + (box.required ? " required" : "") +
            "></textarea>\n";
  }
  body += "<button type=\"submit\">Send report</button>\n</form>\n";
  return page("Report a bug", body);
}

std::string renderReportThanks(int64_t number) {
  return page("Thank you",
              "<p>Your report has arrived as number " + std::to_string(number) +
                  ". Thank you for helping to make Tessara better.</p>\n"
                  "<p><a href=\"bugreport.html\">Report another bug</a></p>\n");
}

std::string renderReportProblem(std::string_view problem) {
  std::string body = "<p>";
  appendHtmlEscaped(body, problem);
  body +=
      "</p>\n<p>Go back to the form to change your report: your text is still there.</p>\n"
      "<p><a href=\"bugreport.html\">Back to the form</a></p>\n";
  return page("Your report was not sent", body);
}

ReportReading readBugReport(std::string_view contentType, std::string_view body,
                            int64_t receivedAt) {
  if (!isFormContentType(contentType)) {
    return refused(415, "The report did not arrive as a form. Please send it from the form.");
  }
  const std::optional<std::map<std::string, std::string>> fields = decodeFormFields(body);
  if (!fields) return refused(400, "The report arrived garbled. Please send it again.");
  std::string texts[3];
  for (size_t index = 0; index < 3; ++index) {
    const auto found = fields->find(kBoxes[index].name);
    if (found != fields->end()) texts[index] = withPlainLineEnds(found->second);
    if (characters(texts[index]) > kMaxReportCharacters) {
      return refused(413, "Your report is too long: each box holds up to " +
                              std::to_string(kMaxReportCharacters) +
                              " characters. Please shorten it and send it again.");
    }
  }
  if (texts[0].find_first_not_of(" \t\n") == std::string::npos) {
    return refused(400, "Please tell us what happened before you send the report.");
  }
  ReportReading reading;
  reading.report = BugReport{std::move(texts[0]), std::move(texts[1]), std::move(texts[2]),
                             receivedAt};
  return reading;
}
