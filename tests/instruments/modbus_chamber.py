#!/usr/bin/env python3
"""A chamber controller on Modbus TCP (loopback), served by pymodbus.

Holding registers, 0-based. The air follows the setpoint at once: a setpoint written to the
setpoint register is copied to the reading register, and printed ("setpoint 25") so a test can
check it saw each one. Its own decoding of the registers is independent of the program's.
"""
import argparse
import math
import struct

from pymodbus.datastore import ModbusSequentialDataBlock, ModbusServerContext, ModbusSlaveContext
from pymodbus.server import StartTcpServer


def encode(value, fmt, scale):
    if fmt == "int16":
        return [struct.unpack(">H", struct.pack(">h", round(value * scale)))[0]]
    high, low = struct.unpack(">HH", struct.pack(">f", value))
    return [high, low] if fmt == "float32" else [low, high]


def decode(words, fmt, scale):
    if fmt == "int16":
        return struct.unpack(">h", struct.pack(">H", words[0]))[0] / scale
    high, low = words if fmt == "float32" else reversed(words)
    return struct.unpack(">f", struct.pack(">HH", high, low))[0]


class Chamber(ModbusSequentialDataBlock):
    def __init__(self, args):
        super().__init__(0, [0] * 100)
        self.args = args
        self.words = 1 if args.format == "int16" else 2
        reading = float("nan") if args.reading == "nan" else float(args.reading)
        super().setValues(args.reading_register, encode(reading, args.format, args.scale))

    def setValues(self, address, values):
        super().setValues(address, values)
        if address == self.args.setpoint_register and len(values) == self.words:
            setpoint = decode(values, self.args.format, self.args.scale)
            print("setpoint %g" % setpoint, flush=True)
            if not math.isnan(setpoint):
                super().setValues(self.args.reading_register, values)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--unit", type=int, default=1)
    parser.add_argument("--format", default="float32", choices=["float32", "float32-swapped", "int16"])
    parser.add_argument("--scale", type=float, default=1)
    parser.add_argument("--setpoint-register", type=int, default=10)
    parser.add_argument("--reading-register", type=int, default=20)
    parser.add_argument("--reading", default="21.5")
    args = parser.parse_args()
    slave = ModbusSlaveContext(hr=Chamber(args), zero_mode=True)
    StartTcpServer(context=ModbusServerContext(slaves={args.unit: slave}, single=False),
                   address=("127.0.0.1", args.port))
