"""Serial Modbus test server (ASCII or RTU, 8N1) on a pty: holding register i holds 3*i + 1."""
import sys

from pymodbus.datastore import ModbusSequentialDataBlock, ModbusServerContext, ModbusSlaveContext
from pymodbus.server import StartSerialServer
from pymodbus.transaction import ModbusAsciiFramer, ModbusRtuFramer


def main():
    port, mode = sys.argv[1], sys.argv[2]
    block = ModbusSequentialDataBlock(0, [3 * i + 1 for i in range(200)])
    store = ModbusSlaveContext(hr=block, ir=block, zero_mode=True)
    context = ModbusServerContext(slaves={1: store}, single=False)
    framer = ModbusAsciiFramer if mode == "ascii" else ModbusRtuFramer
    StartSerialServer(context=context, framer=framer, port=port, baudrate=9600, bytesize=8, parity="N", stopbits=1)


if __name__ == "__main__":
    main()
