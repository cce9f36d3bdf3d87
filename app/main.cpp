#include "xuanshu_application.h"

int main(int argc, char** argv) {
  xuanshu::XuanshuApplication app(argc, argv);
  if (!app.CreateMainWindow()) return 1;
  return app.exec();
}
