#include "kundar_app.h"

int main(int argc, char** argv) {
  xuanshu::CKUNDARApp app(argc, argv);
  if (!app.InitInstance()) return 1;
  return app.exec();
}
