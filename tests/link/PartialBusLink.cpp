// The first thirteen names of the BusLink table only: the fourteenth, SetModbusMode, is missing.
extern "C" {
int OpenModbusSerial() { return 0; }
int OpenSerial(int, int, int) { return 0; }
void CloseSerial() {}
void SetCOMPortNum(int) {}
int GetCOMPortNum() { return 0; }
void SetStationAddr(int) {}
int GetStationAddr() { return 0; }
void SetCOMPortParam(int, int, int) {}
void GetCOMPortParam(int*, int*, int*) {}
void SetCOMPortBaudrate(int) {}
int GetCOMPortBaudrate() { return 0; }
void SetCOMPortFormat(int) {}
int GetCOMPortFormat() { return 0; }
}
