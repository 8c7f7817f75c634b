function [f, db, phase, magnitude] = talvern_node_transfer(source, outputNode, inputNode, scaleFactor)
%TALVERN_NODE_TRANSFER  Transfer between two nodes of a Voltage Format export.
%
%   [f, db, phase] = talvern_node_transfer(file, outputNode, inputNode)
%   [f, db, phase] = talvern_node_transfer(file, outputNode, inputNode, scaleFactor)
%   [f, db, phase] = talvern_node_transfer(file)
%   [f, db, phase, magnitude] = talvern_node_transfer(nodes, outputNode, inputNode, ...)
%
%   source is a 5-column file (frequency, node, volts, dB, phase: one line
%   per node at each frequency) or the node struct array talvern_read
%   returns for one. At each measured point where both nodes have a reading
%   the transfer is computed as the program computes gain and phase:
%     magnitude = |V(outputNode) * scaleFactor / V(inputNode)|
%     db        = 20*log10(magnitude)
%     phase     = phase(outputNode) - phase(inputNode), plus 180 degrees
%                 for a negative scaleFactor, wrapped to (-180, 180]
%   scaleFactor is 1 when not given. When only the file is given, the nodes
%   and scale factor come from its "*Gain/Phase: Output Node=2, Input
%   Node=1, Scale Factor=1" line (present in a copied table).
%
%   f (Hz), db, phase (degrees) and magnitude are column vectors, one row
%   per point at which both nodes were read; points where either is missing
%   are left out.
%
%   Example:
%     [f, db, ph] = talvern_node_transfer('nodes.dat', 2, 1);
%     talvern_bode(f, db, ph);
%
%   See also TALVERN_READ, TALVERN_BODE.

if nargin < 1
    error('talvern_node_transfer: usage is talvern_node_transfer(file, outputNode, inputNode [, scaleFactor])');
end
fileNodes = NaN(1, 3);
if ischar(source)
    [nodes, ~, ~, info] = talvern_read(source);
    if info.columns ~= 5
        error('talvern_node_transfer: %s has %d columns; a Voltage Format export (5 columns) is needed', ...
              source, info.columns);
    end
    fileNodes = [info.outputNode, info.inputNode, info.scaleFactor];
elseif isstruct(source) && all(isfield(source, {'node', 'f', 'volts', 'phase', 'point'}))
    nodes = source;
else
    error('talvern_node_transfer: the first argument must be a file name or the node struct from talvern_read');
end
if nargin == 2
    error('talvern_node_transfer: give both the output node and the input node');
end
if nargin < 4
    scaleFactor = 1;
end
if nargin < 2
    if any(isnan(fileNodes(1:2)))
        error('talvern_node_transfer: give the output and input nodes; the data names none');
    end
    outputNode = fileNodes(1);
    inputNode = fileNodes(2);
    if ~isnan(fileNodes(3))
        scaleFactor = fileNodes(3);
    end
end
check_scalar(outputNode, 'the output node');
check_scalar(inputNode, 'the input node');
check_scalar(scaleFactor, 'the scale factor');
if scaleFactor == 0
    error('talvern_node_transfer: the scale factor must not be 0');
end

out = find_node(nodes, outputNode);
in = find_node(nodes, inputNode);
[points, io, ii] = intersect(out.point, in.point);
if isempty(points)
    error('talvern_node_transfer: nodes %g and %g are never read at the same point', outputNode, inputNode);
end
f = out.f(io);
magnitude = abs(out.volts(io) * scaleFactor ./ in.volts(ii));
db = 20 * log10(magnitude);
phase = out.phase(io) - in.phase(ii);
if scaleFactor < 0
    phase = phase + 180;
end
phase = mod(phase + 180, 360) - 180;
phase(phase == -180) = 180;
f = f(:);
db = db(:);
phase = phase(:);
magnitude = magnitude(:);
end

function node = find_node(nodes, number)
k = find([nodes.node] == number, 1);
if isempty(k)
    error('talvern_node_transfer: there is no node %g in the data (nodes: %s)', number, ...
          sprintf('%g ', [nodes.node]));
end
node = nodes(k);
end

function check_scalar(value, what)
if ~isnumeric(value) || ~isreal(value) || numel(value) ~= 1 || ~isfinite(value)
    error('talvern_node_transfer: %s must be one finite real number', what);
end
end
