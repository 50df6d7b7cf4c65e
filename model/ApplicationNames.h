#pragma once
// The names the program gives itself to Qt (organisation Veskor, application Tarvane):
// where its settings and folders live, for both programs.
void setTarvaneApplicationNames();
