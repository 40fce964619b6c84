#pragma once

#include <httplib.h>

#include <string>
#include <string_view>

#include "sample-service/raw_stream.h"
#include "sample-service/request_head.h"
#include "sample-service/service_state.h"

namespace tamberlo::sample {

using State = SampleService::State;

enum class RawOutcome { not_mine, keep_open, close };

// Answers written by hand on the connection; not_mine leaves the request to answer().
RawOutcome answer_raw(State& state, const RequestHead& head, RawStream& stream);
// Every other answer, written by cpp-httplib.
void answer(State& state, const RequestHead& head, const std::string& body, httplib::Response& res);

// The areas of answer(); each returns false when the request is none of its own.
bool answer_web(State& state, const RequestHead& head, const std::string& body,
                httplib::Response& res);
bool answer_script(State& state, const RequestHead& head, httplib::Response& res);
bool answer_image(State& state, const RequestHead& head, httplib::Response& res);
bool answer_test(State& state, const RequestHead& head, httplib::Response& res);
RawOutcome answer_test_raw(State& state, const RequestHead& head, RawStream& stream);

// Shared by the areas.
void set_gbk_page(httplib::Response& res, std::string_view utf8_html, int status = 200);
std::string html_escape(std::string_view text);
// Sets a cookie; the nth (0-based) Set-Cookie of an answer is spelled "set-cookie" or
// "SET-COOKIE" while that fault is on.
void add_cookie(State& state, httplib::Response& res, const std::string& cookie, int nth);
// A request body, from the head's Content-Length (raw routes read bodies themselves).
std::string read_raw_body(const RequestHead& head, RawStream& stream);

}  // namespace tamberlo::sample

namespace tamberlo::sample {
// The getAlbumData remote call, on the web host.
bool answer_data_call(State& state, const RequestHead& head, httplib::Response& res);
}  // namespace tamberlo::sample
